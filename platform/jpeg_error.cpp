// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/jpeg_error.h"

// The callbacks find their JpegErrors from the jpeg_error_mgr libjpeg hands them.
static_assert(std::is_standard_layout_v<JpegErrors>);

JpegErrors::JpegErrors() : manager_{}, jump_{}, message_{} {
  jpeg_std_error(&manager_);
  manager_.error_exit = OnError;
  manager_.emit_message = OnMessage;
}

bool JpegErrors::RunSteps(bool (*steps)(void*), void* callable) {
  message_[0] = '\0';
  // Nothing here changes between setjmp and the jump, so nothing needs to be volatile.
  if (setjmp(jump_) != 0) return false;
  return steps(callable);
}

JpegErrors& JpegErrors::Of(j_common_ptr info) {
  return *reinterpret_cast<JpegErrors*>(info->err);
}

void JpegErrors::Fail(j_common_ptr info, const char* reason) {
  JpegErrors& errors = Of(info);
  std::snprintf(errors.message_, sizeof errors.message_, "%s", reason);
  std::longjmp(errors.jump_, 1);
}

void JpegErrors::OnError(j_common_ptr info) {
  JpegErrors& errors = Of(info);
  (*info->err->format_message)(info, errors.message_);
  std::longjmp(errors.jump_, 1);
}

void JpegErrors::OnMessage(j_common_ptr info, int level) {
  if (level < 0) OnError(info);
}
