// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// jpeglib.h uses FILE and size_t without declaring them.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <type_traits>

#include <jpeglib.h>

// How our code calls libjpeg. libjpeg reports a fatal error through error_exit, which must not
// return, and a C++ exception may not unwind through its C frames: so error_exit jumps back to
// the one setjmp, in Run, which then returns false and keeps libjpeg's message. Warnings (a
// file cut short, corrupt data decoded around) fail the same way: they would leave a picture
// partly grey. Trace messages are ignored.
class JpegErrors {
 public:
  JpegErrors();
  JpegErrors(const JpegErrors&) = delete;
  JpegErrors& operator=(const JpegErrors&) = delete;

  // What a jpeg_compress_struct's or jpeg_decompress_struct's `err` points to.
  jpeg_error_mgr* Manager() { return &manager_; }

  // Runs `steps`, which call libjpeg and return void, or bool (false to give up); false when
  // they gave up or libjpeg failed on the way. A failure leaves `steps` by longjmp, which runs
  // no destructor: they keep their objects in the caller's frame, outside the call.
  template <class Steps>
  bool Run(Steps&& steps) {
    using Callable = std::remove_reference_t<Steps>;
    return RunSteps(
        [](void* callable) {
          if constexpr (std::is_void_v<std::invoke_result_t<Callable&>>) {
            (*static_cast<Callable*>(callable))();
            return true;
          } else {
            return static_cast<bool>((*static_cast<Callable*>(callable))());
          }
        },
        &steps);
  }

  // Why the last Run failed: libjpeg's message, or the reason given to Fail.
  const char* Message() const { return message_; }

  // Ends the current Run as failed with `reason`, from one of our own libjpeg callbacks.
  [[noreturn]] static void Fail(j_common_ptr info, const char* reason);

 private:
  bool RunSteps(bool (*steps)(void*), void* callable);
  [[noreturn]] static void OnError(j_common_ptr info);
  static void OnMessage(j_common_ptr info, int level);
  static JpegErrors& Of(j_common_ptr info);

  jpeg_error_mgr manager_;  // first: libjpeg hands this address back to the callbacks
  std::jmp_buf jump_;
  char message_[JMSG_LENGTH_MAX];
};

// A libjpeg decompressor reporting through JpegErrors; jpeg_create_decompress goes first in
// the steps of a Run, and the decompressor is destroyed with its owner however the Run ended.
struct JpegDecompression {
  JpegDecompression() { info.err = errors.Manager(); }
  ~JpegDecompression() { jpeg_destroy_decompress(&info); }
  JpegDecompression(const JpegDecompression&) = delete;
  JpegDecompression& operator=(const JpegDecompression&) = delete;

  template <class Steps>
  bool Run(Steps&& steps) {
    return errors.Run(steps);
  }

  JpegErrors errors;
  jpeg_decompress_struct info{};
};

// The same for a compressor; jpeg_create_compress goes first in the steps.
struct JpegCompression {
  JpegCompression() { info.err = errors.Manager(); }
  ~JpegCompression() { jpeg_destroy_compress(&info); }
  JpegCompression(const JpegCompression&) = delete;
  JpegCompression& operator=(const JpegCompression&) = delete;

  template <class Steps>
  bool Run(Steps&& steps) {
    return errors.Run(steps);
  }

  JpegErrors errors;
  jpeg_compress_struct info{};
};
