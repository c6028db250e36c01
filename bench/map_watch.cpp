// SPDX-License-Identifier: GPL-3.0-or-later
// Starts a program and prints, in milliseconds, the time from the start to the first top-level
// window the X server maps, then ends the program. The same measure for the bare window and for
// simhacheur: the start-up benchmark (startup_bench.sh) runs both through it.
//   map_watch [--timeout MS] -- PROGRAM [ARGUMENTS…]      (on the X display of $DISPLAY)
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "sim/number_text.h"

namespace {

using Clock = std::chrono::steady_clock;

pid_t Start(char** command) {
  const pid_t child = fork();
  if (child == 0) {
    execvp(command[0], command);
    std::perror(command[0]);
    _exit(127);
  }
  return child;
}

void End(pid_t child) {
  kill(child, SIGTERM);
  for (int i = 0; i < 100; ++i) {
    if (waitpid(child, nullptr, WNOHANG) == child) return;
    usleep(20'000);
  }
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
}

// Waits for a top-level window to be mapped; false on timeout or when the program ends first.
bool WaitForMap(xcb_connection_t* x, pid_t child, Clock::time_point deadline) {
  const int fd = xcb_get_file_descriptor(x);
  while (Clock::now() < deadline) {
    while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
      const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY &&
                          !reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect;
      std::free(event);
      if (mapped) return true;
    }
    if (waitpid(child, nullptr, WNOHANG) == child) return false;
    pollfd ready{fd, POLLIN, 0};
    poll(&ready, 1, 5);
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  int timeoutMs = 60'000;
  int first = 1;
  if (first + 1 < argc && std::strcmp(argv[first], "--timeout") == 0) {
    timeoutMs = std::atoi(argv[first + 1]);
    first += 2;
  }
  if (first < argc && std::strcmp(argv[first], "--") == 0) ++first;
  if (first >= argc) {
    std::fprintf(stderr, "usage: map_watch [--timeout MS] -- PROGRAM [ARGUMENTS...]\n");
    return 2;
  }
  xcb_connection_t* x = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(x)) {
    std::fprintf(stderr, "map_watch: no X display\n");
    return 2;
  }
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
  const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(x, screen->root, XCB_CW_EVENT_MASK, &mask);
  // A round trip: the server listens for the maps before the program starts.
  std::free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr));
  const Clock::time_point start = Clock::now();
  const pid_t child = Start(argv + first);
  const bool mapped = WaitForMap(x, child, start + std::chrono::milliseconds(timeoutMs));
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  End(child);
  xcb_disconnect(x);
  if (!mapped) {
    std::fprintf(stderr, "map_watch: %s mapped no window\n", argv[first]);
    return 1;
  }
  // A point whatever the locale: the benchmark script reads it back.
  std::printf("%s\n", FixedText(ms, 1, ".").c_str());
  return 0;
}
