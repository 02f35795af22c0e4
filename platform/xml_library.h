#pragma once

namespace platform {

// Sets libxml2 up once for this process: its errors are never printed (our
// standard error stays silent) and no external entity or DTD is ever loaded.
void EnsureXmlLibraryReady();

}  // namespace platform
