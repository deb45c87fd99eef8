// The fixed pause between writing a property loaded from a file and having the camera
// store it: the camera needs the time to take the new value over.
//
// The pause goes through a replaceable function (::Sleep by default) so that tests can
// skip it; the product never replaces it.
#pragma once

namespace kvtq517 {

constexpr unsigned long kPropertySaveWaitMs = 100;

// ::Sleep's signature.
using PropertySaveWaitFunction = void(__stdcall*)(unsigned long milliseconds);

// Waits kPropertySaveWaitMs through the current wait function.
void WaitBeforePropertySave();

// Installs `wait` (null: ::Sleep again) and returns the previous function.
PropertySaveWaitFunction ReplacePropertySaveWait(PropertySaveWaitFunction wait) noexcept;

}  // namespace kvtq517
