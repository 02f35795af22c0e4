#pragma once

namespace platform {

// Called once when the program starts: any of descriptors 0, 1 and 2 that
// the caller left closed is opened on /dev/null. Otherwise the next file we
// open (the syslog socket, say) would land there, and our report could go
// into it, or a tool could inherit it as its standard input.
void OpenMissingStandardStreams();

}  // namespace platform
