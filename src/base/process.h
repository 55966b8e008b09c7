#pragma once

namespace base {

// What the window and tarvex-cli set up before anything else, for the whole process:
// - a write past the file-size limit (ulimit -f) fails with EFBIG and is reported for its
//   file, rather than killing the program in the middle of a job;
// - freed buffers of up to a few megabytes stay with the process. A secure rip allocates and
//   frees buffers of a few hundred kilobytes at every read; with the C library's defaults each
//   one went back to the kernel and returned as fresh pages, which cost an MP3 rip about 5 %
//   of its time in page faults.
void prepareProcess();

} // namespace base
