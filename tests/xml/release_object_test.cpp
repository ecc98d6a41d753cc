#include "xml/release_object.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "base/error.h"

namespace quenda {
namespace {

struct Closable {
  int* closed;
  bool failing = false;
  void Close() {
    ++*closed;
    if (failing) throw Error(kErrInvalidArgument, "Close failed");
  }
};

struct OutOfMemoryOnClose {
  void Close() { throw std::bad_alloc(); }
};

struct NotClosable {
  int value = 1;
};

TEST(ReleaseObject, ClosesIgnoringErrorsAndDrops) {
  for (const bool failing : {false, true}) {
    int closed = 0;
    auto owned = std::make_unique<Closable>(Closable{&closed, failing});
    EXPECT_NO_THROW(ReleaseObject(owned)) << "failing Close: " << failing;
    EXPECT_EQ(owned, nullptr);
    EXPECT_EQ(closed, 1);

    std::optional<Closable> held = Closable{&closed, failing};
    ReleaseObject(held);
    EXPECT_FALSE(held.has_value());
    EXPECT_EQ(closed, 2);
  }
}

TEST(ReleaseObject, PassesWhatIsNoFailingClose) {
  auto owned = std::make_unique<OutOfMemoryOnClose>();
  EXPECT_THROW(ReleaseObject(owned), std::bad_alloc);
}

TEST(ReleaseObject, DropsObjectsWithoutCloseAndBorrowedPointers) {
  auto shared = std::make_shared<NotClosable>();
  std::weak_ptr<NotClosable> watch = shared;
  ReleaseObject(shared);
  EXPECT_TRUE(watch.expired());

  NotClosable owner;
  NotClosable* borrowed = &owner;
  ReleaseObject(borrowed);
  EXPECT_EQ(borrowed, nullptr);
  EXPECT_EQ(owner.value, 1);

  std::unique_ptr<Closable> empty;
  EXPECT_NO_THROW(ReleaseObject(empty));
}

}  // namespace
}  // namespace quenda
