#pragma once

#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <tuple>
#include <type_traits>
#include <utility>

namespace directui {

// Every argument a stored routine gets is pointer-sized: element and host handles are
// addresses, message parameters are as wide as a pointer.
using RoutineArg = std::intptr_t;
inline constexpr std::size_t kMaxRoutineArgs = 10;
using RoutineArgs = std::array<RoutineArg, kMaxRoutineArgs>;

namespace routine_detail {

template <class T>
struct Signature {};
template <class R, class... A>
struct Signature<R(A...)> {
  using Result = R;
  using Params = std::tuple<A...>;
};
template <class R, class... A>
struct Signature<R (*)(A...)> : Signature<R(A...)> {};
template <class R, class... A>
struct Signature<R (&)(A...)> : Signature<R(A...)> {};
template <class C, class R, class... A>
struct Signature<R (C::*)(A...)> : Signature<R(A...)> {};
template <class C, class R, class... A>
struct Signature<R (C::*)(A...) const> : Signature<R(A...)> {};
template <class C, class R, class... A>
struct Signature<R (C::*)(A...) noexcept> : Signature<R(A...)> {};
template <class C, class R, class... A>
struct Signature<R (C::*)(A...) const noexcept> : Signature<R(A...)> {};
template <class R, class... A>
struct Signature<R (*)(A...) noexcept> : Signature<R(A...)> {};

template <class F>
struct CallableSignature : Signature<F> {};
template <class F>
requires requires {
  &F::operator();
}
struct CallableSignature<F> : Signature<decltype(&F::operator())> {};

template <class F>
concept HasSignature = requires {
  typename CallableSignature<F>::Params;
};

template <class T>
inline constexpr bool kIsArg = std::same_as<std::remove_cvref_t<T>, RoutineArg>;

template <class Tuple>
struct AllArgs;
template <class... A>
struct AllArgs<std::tuple<A...>> : std::bool_constant<(kIsArg<A> && ...)> {};

template <class R>
inline constexpr bool kIsResult = std::is_void_v<R> || std::is_integral_v<R>;

}  // namespace routine_detail

// A routine a framework object stores and calls later: bound events, class message handlers,
// host notification routines, menu actions, list and scroll-bar callbacks. It declares as many
// leading RoutineArg parameters as it uses (at most ten) and answers an integer, or nothing
// (taken as 0). Anything else — other parameter types, more parameters, a template call
// operator — is refused when the program is compiled, so no routine ever sees a narrowed
// handle.
template <class F>
concept StorableRoutine =
    routine_detail::HasSignature<std::decay_t<F>> &&
    (std::tuple_size_v<typename routine_detail::CallableSignature<std::decay_t<F>>::Params> <=
     kMaxRoutineArgs) &&
    routine_detail::AllArgs<typename routine_detail::CallableSignature<std::decay_t<F>>::Params>::
        value&& routine_detail::kIsResult<
            typename routine_detail::CallableSignature<std::decay_t<F>>::Result>;

class Routine {
 public:
  // The empty routine: calling it answers 0 and does nothing.
  Routine() = default;
  Routine(std::nullptr_t) {}

  template <class F>
  requires(!std::same_as<std::decay_t<F>, Routine>) && StorableRoutine<F> Routine(F&& f) {
    using Fn = std::decay_t<F>;
    Fn fn(std::forward<F>(f));
    if constexpr (std::is_pointer_v<Fn>) {
      if (fn == nullptr) return;
    } else if constexpr (requires { fn.operator bool(); }) {
      if (!fn) return;  // an empty function object
    }
    using Sig = routine_detail::CallableSignature<Fn>;
    constexpr std::size_t n = std::tuple_size_v<typename Sig::Params>;
    arity_ = n;
    call_ = [fn = std::move(fn)](const RoutineArgs& args) mutable -> RoutineArg {
      return Invoke(fn, args, std::make_index_sequence<n>{});
    };
  }

  explicit operator bool() const { return static_cast<bool>(call_); }
  // How many leading arguments the routine declared.
  std::size_t arity() const { return arity_; }

  RoutineArg operator()(const RoutineArgs& args) const { return call_ ? call_(args) : 0; }

 private:
  template <class Fn, std::size_t... I>
  static RoutineArg Invoke(Fn& fn, const RoutineArgs& args, std::index_sequence<I...>) {
    using Result = decltype(std::invoke(fn, args[I]...));
    if constexpr (std::is_void_v<Result>) {
      std::invoke(fn, args[I]...);
      return 0;
    } else {
      return static_cast<RoutineArg>(std::invoke(fn, args[I]...));
    }
  }

  std::function<RoutineArg(const RoutineArgs&)> call_;
  std::size_t arity_ = 0;
};

// Calls the routine with up to ten arguments; arguments it does not declare are dropped, the
// ones not passed are 0. An empty routine answers 0 and nothing runs.
template <class... A>
requires(sizeof...(A) <= kMaxRoutineArgs && (std::convertible_to<A, RoutineArg> && ...)) RoutineArg
    CallRoutine(const Routine& routine, A... args) {
  if (!routine) return 0;
  RoutineArgs all{static_cast<RoutineArg>(args)...};
  return routine(all);
}

}  // namespace directui
