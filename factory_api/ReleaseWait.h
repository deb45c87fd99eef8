// The fixed pause between groups of release-parameter writes. The camera needs it to
// take over a mode word before the values that depend on it.
//
// The pause goes through a replaceable function (::Sleep by default) so that tests can
// count the pauses without waiting; the product never replaces it.
#pragma once

namespace kvtq517 {

constexpr unsigned long kReleaseWriteWaitMs = 100;

// ::Sleep's signature.
using ReleaseWaitFunction = void(__stdcall*)(unsigned long milliseconds);

// Waits kReleaseWriteWaitMs through the current wait function.
void WaitBetweenReleaseWrites();

// Installs `wait` (null: ::Sleep again) and returns the previous function.
ReleaseWaitFunction ReplaceReleaseWait(ReleaseWaitFunction wait) noexcept;

}  // namespace kvtq517
