// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <exception>
#include <tuple>
#include <type_traits>
#include <utility>

// Qt's event loop cannot carry an exception: one that unwound into it would end the program.
// Every slot, callback and handler of ours runs through Guarded, which stops the exception
// where it was raised and says it in the error box; the program keeps running.

// Says `fault` in the error box: a standard exception by its message, anything else by a
// sentence of ours. Never throws, not even when the box itself cannot be shown.
void ReportFault(const std::exception_ptr& fault) noexcept;

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

// The parameters a slot declares: a member function's, or a callable's operator()'s. Qt passes
// a slot the leading arguments of the signal that it declares, so the wrappers below declare
// exactly the same ones (a generic lambda would hide them from Qt).
template <class F>
struct Params : Params<decltype(&F::operator())> {};
template <class R, class C, class... A>
struct Params<R (C::*)(A...)> {
  using Type = std::tuple<A...>;
};
template <class R, class C, class... A>
struct Params<R (C::*)(A...) const> {
  using Type = std::tuple<A...>;
};
template <class R, class C, class... A>
struct Params<R (C::*)(A...) noexcept> {
  using Type = std::tuple<A...>;
};
template <class R, class C, class... A>
struct Params<R (C::*)(A...) const noexcept> {
  using Type = std::tuple<A...>;
};

// The same list without its first entry (a handler that takes the window first).
template <class Tuple>
struct Tail {
  using Type = std::tuple<>;
};
template <class First, class... A>
struct Tail<std::tuple<First, A...>> {
  using Type = std::tuple<A...>;
};

// A callable declaring the parameters `Tuple` lists, which hands them on to `body`.
template <class Tuple>
struct Declaring;
template <class... A>
struct Declaring<std::tuple<A...>> {
  template <class Body>
  static auto Slot(Body body) {
    return [body = std::move(body)](A... args) mutable { body(args...); };
  }
};

}  // namespace guarded_detail

// QObject::connect for our slots: `slot`, a member function of `receiver` or a callable with
// declared parameters, runs through Guarded. The connection ends with `receiver`, as Qt's own
// does.
template <class Sender, class Signal, class Receiver, class Slot>
QMetaObject::Connection ConnectGuarded(Sender* sender, Signal signal, Receiver* receiver, Slot slot,
                                       Qt::ConnectionType type = Qt::AutoConnection) {
  using Declared = guarded_detail::Declaring<typename guarded_detail::Params<Slot>::Type>;
  if constexpr (std::is_member_function_pointer_v<Slot>) {
    return QObject::connect(sender, signal, receiver,
                            Declared::Slot([receiver, slot](auto&... args) {
                              Guarded([&] { (receiver->*slot)(args...); });
                            }),
                            type);
  } else {
    return QObject::connect(sender, signal, receiver,
                            Declared::Slot([slot = std::move(slot)](auto&... args) mutable {
                              Guarded([&] { slot(args...); });
                            }),
                            type);
  }
}
