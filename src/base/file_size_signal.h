#ifndef KORVALE_BASE_FILE_SIZE_SIGNAL_H_
#define KORVALE_BASE_FILE_SIZE_SIGNAL_H_

namespace kv {

// A write past the file size limit (ulimit -f) ends the process with
// SIGXFSZ unless the signal is ignored; ignored, the write fails with EFBIG
// and the save that made it can clean up and say what went wrong. Every
// program that writes files calls this once at start, before any thread.
void IgnoreFileSizeSignal();

}  // namespace kv

#endif  // KORVALE_BASE_FILE_SIZE_SIGNAL_H_
