#pragma once

#include <QObject>
#include <cstddef>
#include <exception>
#include <functional>
#include <tuple>
#include <type_traits>
#include <utility>

// Qt's event loop cannot carry an exception: one that unwound into it would end the program.
// Every slot, callback and handler of ours runs through Guarded, which stops the exception
// where it was raised and says it in the error box; the program keeps running.

// Says `fault` in the error box: a standard exception by its message, anything else by a
// sentence of ours. Never throws, not even when the box itself cannot be shown.
void ReportFault(std::exception_ptr fault) noexcept;

// Runs `work`; true when it ran to its end, false when it raised an exception (then said).
template <class F>
bool Guarded(F&& work) noexcept {
  try {
    std::forward<F>(work)();
    return true;
  } catch (...) {
    ReportFault(std::current_exception());
    return false;
  }
}

namespace guarded_detail {

template <class Call, class Tuple, std::size_t... I>
constexpr bool TakesLeading(std::index_sequence<I...>) {
  return std::is_invocable_v<Call&, std::tuple_element_t<I, Tuple>...>;
}

template <std::size_t N, class Call, class Tuple>
void CallLeading(Call& call, Tuple& args) {
  if constexpr (TakesLeading<Call, Tuple>(std::make_index_sequence<N>{})) {
    [&]<std::size_t... I>(std::index_sequence<I...>) {
      call(std::get<I>(args)...);
    }
    (std::make_index_sequence<N>{});
  } else if constexpr (N > 0) {
    CallLeading<N - 1>(call, args);
  } else {
    static_assert(N > 0, "the slot takes no leading run of the signal's arguments");
  }
}

}  // namespace guarded_detail

// Calls `call` with the longest leading run of `args` it takes: as with Qt's own connections,
// a slot may leave out the signal's last arguments (clicked(bool) to a handler without one).
// `call` must say what it takes in its signature (a trailing decltype for a generic lambda).
template <class Call, class... Args>
void CallWithLeading(Call&& call, Args&... args) {
  auto all = std::tie(args...);
  guarded_detail::CallLeading<sizeof...(Args)>(call, all);
}

// QObject::connect for our slots: `slot`, a member function of `receiver` or a callable, runs
// through Guarded. The connection ends with `receiver`, as Qt's own does.
template <class Sender, class Signal, class Receiver, class Slot>
QMetaObject::Connection ConnectGuarded(Sender* sender, Signal signal, Receiver* receiver, Slot slot,
                                       Qt::ConnectionType type = Qt::AutoConnection) {
  return QObject::connect(
      sender, signal, receiver,
      [receiver, slot = std::move(slot)](auto&&... args) mutable {
        Guarded([&] {
          if constexpr (std::is_member_function_pointer_v<Slot>) {
            CallWithLeading(
                [&](auto&... leading) -> decltype(std::invoke(slot, receiver, leading...)) {
                  return std::invoke(slot, receiver, leading...);
                },
                args...);
          } else {
            CallWithLeading(
                [&](auto&... leading) -> decltype(std::invoke(slot, leading...)) {
                  return std::invoke(slot, leading...);
                },
                args...);
          }
        });
      },
      type);
}
