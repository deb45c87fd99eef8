// The release-and-transfer exports of the factory API library: standard-call, exported
// by undecorated name (KvtQ517.def). Each asks the camera which images its quality
// setting gives (property 0x8000002F, byte 2: 1 JPEG, 6 raw, 7 raw and JPEG), releases,
// and writes the images to psFullPath with the extension replaced by ".tr2" / ".jpg".
//
// They need a successful KVT_OpenDevice (else 29). The S form works on the given
// camera slot and selects slot 0 again when it ends. MVT_ReleaseAndTransfer sets bit
// 10 of the camera's fixed flag (public property 0) for the release and restores the
// flag afterwards, also when the release or the transfer fails.
#pragma once

extern "C" {

unsigned long __stdcall KVT_ReleaseAndTransfer(const char* psFullPath);
unsigned long __stdcall KVT_ReleaseAndTransferS(const char* psFullPath, unsigned long slot);
unsigned long __stdcall MVT_ReleaseAndTransfer(const char* psFullPath);

}  // extern "C"
