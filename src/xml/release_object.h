// ReleaseObject: closes an object when it has a Close() (an open record set), ignoring
// the system's own errors (Error), and drops the reference. Used after queries and at the end of
// the job intake for documents, record sets and node references alike.
#pragma once

#include <memory>
#include <optional>

#include "base/error.h"

namespace quenda {

namespace detail {

template <class T>
void CloseQuietly(T& object) {
  if constexpr (requires { object.Close(); }) {
    try {
      object.Close();
    } catch (const Error&) {
      // A failing Close is of no interest to a caller that drops the object anyway; any
      // other exception (out of memory) is not a failing Close and goes on.
    }
  }
}

}  // namespace detail

// Owned object: closed, then destroyed; the pointer is empty afterwards.
template <class T, class D>
void ReleaseObject(std::unique_ptr<T, D>& object) {
  if (object) detail::CloseQuietly(*object);
  object.reset();
}

template <class T>
void ReleaseObject(std::shared_ptr<T>& object) {
  if (object) detail::CloseQuietly(*object);
  object.reset();
}

template <class T>
void ReleaseObject(std::optional<T>& object) {
  if (object) detail::CloseQuietly(*object);
  object.reset();
}

// Borrowed reference (a node of a document): only dropped; its owner keeps it.
template <class T>
void ReleaseObject(T*& object) {
  object = nullptr;
}

}  // namespace quenda
