#pragma once
// A converter that is stopped (closed window, logout, Ctrl+C, a full disk quota) must not leave
// a half-written book beside the real one: the signals that end a process are caught, the
// library's uncommitted temporary files removed, and the signal then ends the process as it
// would have.

namespace zod2uvov {

// Installs the handlers. A signal the converter was started with ignored stays ignored.
void RemoveTemporaryFilesOnSignals();

}  // namespace zod2uvov
