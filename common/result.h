// The result of an operation that can fail: its value, or why it failed.
// One shape for every such operation, so that no caller has to remember
// whether a present value means success or failure.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace scenario {

// Why an operation failed; by default a sentence a person can act on.
template <class E = std::string>
struct failure {
    E reason;
};
failure(const char*)->failure<std::string>;
template <class E>
failure(E) -> failure<E>;

template <class T, class E = std::string>
class [[nodiscard]] result {
public:
    result(T value) : held_(std::in_place_index<0>, std::move(value)) {}
    result(failure<E> f) : held_(std::in_place_index<1>, std::move(f.reason)) {}

    bool ok() const { return held_.index() == 0; }
    explicit operator bool() const { return ok(); }

    // The value; only when ok() (std::bad_variant_access otherwise).
    T& value() & { return std::get<0>(held_); }
    const T& value() const& { return std::get<0>(held_); }
    T&& value() && { return std::get<0>(std::move(held_)); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }

    // Why it failed; only when !ok().
    const E& error() const { return std::get<1>(held_); }

private:
    std::variant<T, E> held_;
};

// An operation that gives nothing back but can fail.
template <class E>
class [[nodiscard]] result<void, E> {
public:
    result() = default;
    result(failure<E> f) : reason_(std::move(f.reason)), failed_(true) {}

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const E& error() const { return reason_; }

private:
    E reason_{};
    bool failed_ = false;
};

}  // namespace scenario
