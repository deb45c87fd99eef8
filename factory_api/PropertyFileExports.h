// The property-file, path and diagnostic exports of the factory API library:
// standard-call, exported by undecorated name (KvtQ517.def).
//
// KVT_LoadProperty reads one adjustment property (named as in the plug-in's catalogue,
// at most 63 characters) from the camera into a file of exactly its size;
// KVT_SaveProperty writes such a file into the property and has the camera store it.
// Both need a successful KVT_OpenDevice (else 29).
//
// KVT_SetFilePath and KVT_SetFolderPath publish a path (at most 260 characters) in the
// named blocks "SHARED_NAME_FILE" and "SHARED_NAME_FOLDER" (the plug-in's property data
// files go into the folder one); the Delete forms leave the blocks as they are. A
// refused path leaves the block untouched.
//
// KVT_Debug creates the gain data folder _DebugData\IsoGain\<body number>\Data\.
#pragma once

extern "C" {

unsigned long __stdcall KVT_LoadProperty(const char* pszPropertyName, const char* pszFullPath);
unsigned long __stdcall KVT_SaveProperty(const char* pszPropertyName, const char* pszFullPath);
unsigned long __stdcall KVT_SetFilePath(const char* pszFilePath);
unsigned long __stdcall KVT_DeleteFilePath();
unsigned long __stdcall KVT_SetFolderPath(const char* pszFolderPath);
unsigned long __stdcall KVT_DeleteFolderPath();
unsigned long __stdcall KVT_Debug();

}  // extern "C"
