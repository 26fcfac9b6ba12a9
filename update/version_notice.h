#pragma once

namespace inkmoss {

class LockWindow;

// The last step of the lock window's creation: looks up the newest version
// and its download address and, when a newer version is known, announces it
// with a message box and the download link.
void announceNewVersion(LockWindow& window);

}  // namespace inkmoss
