// The library's fixed pauses: 100 ms between groups of release-parameter writes (the
// camera takes a mode word over before the values that depend on it) and 100 ms
// between writing a property loaded from a file and having the camera store it.
//
// Both go through one replaceable function (::Sleep by default) so that tests can count
// or skip them; the product never replaces it.
#pragma once

namespace kvtq517 {

constexpr unsigned long kReleaseWriteWaitMs = 100;
constexpr unsigned long kPropertySaveWaitMs = 100;

// ::Sleep's signature.
using PauseFunction = void(__stdcall*)(unsigned long milliseconds);

// Waits through the current pause function.
void Pause(unsigned long milliseconds);
inline void WaitBetweenReleaseWrites() { Pause(kReleaseWriteWaitMs); }
inline void WaitBeforePropertySave() { Pause(kPropertySaveWaitMs); }

// Installs `pause` (null: ::Sleep again) and returns the previous function.
PauseFunction ReplacePause(PauseFunction pause) noexcept;

}  // namespace kvtq517
