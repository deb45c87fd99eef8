// Export and import of the libraries' interfaces.
//
// Corvane exports its classes and functions (CORVANE_API). The code of common/ is
// compiled into every library for itself: Corvane exports its copy, while a library
// that keeps its own copy of a piece defines KVT_OWN_BLOCKS (named block classes) or
// KVT_OWN_FILEPATH (CFilePath); everything else imports Corvane's.
#pragma once

#if defined(CORVANE_BUILD)
#define CORVANE_API __declspec(dllexport)
#else
#define CORVANE_API __declspec(dllimport)
#endif

#if defined(KVT_OWN_BLOCKS)
#define KVT_BLOCKS_API
#else
#define KVT_BLOCKS_API CORVANE_API
#endif

#if defined(KVT_OWN_FILEPATH)
#define KVT_FILEPATH_API
#else
#define KVT_FILEPATH_API CORVANE_API
#endif
