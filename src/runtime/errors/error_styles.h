#pragma once

// The error styles of the program's handlers. A handler written unguarded
// simply lets a RuntimeError leave it; the dispatcher at the edge of every
// event reports it. The other styles are these helpers:
//
//   rt::SkipOnError skip;            // skip-on-error: each failing statement is skipped
//   skip([&] { a(); });
//   skip([&] { b(); });
//
//   if (!rt::abandonOnError([&] { ... }))   // abandon-on-error: the first failure
//       ...                                  // ends the block silently
//
//   rt::recoverOnError([&] { ... }, [&](const rt::RuntimeError &e) { ... });

#include "runtime/errors/runtime_error.h"

#include <optional>
#include <utility>

namespace rt {

class SkipOnError {
public:
    // Runs one statement; a run-time error in it is skipped. Returns whether it succeeded.
    template <class Statement>
    bool operator()(Statement &&statement)
    {
        try {
            std::forward<Statement>(statement)();
            return true;
        } catch (const RuntimeError &e) {
            last_ = e;
            return false;
        }
    }

    // The last error skipped, as the platform's Err object would hold it.
    const std::optional<RuntimeError> &lastError() const { return last_; }

private:
    std::optional<RuntimeError> last_;
};

// Runs the block; the first run-time error ends it. Returns whether it ran to its end.
template <class Block>
bool abandonOnError(Block &&block)
{
    try {
        std::forward<Block>(block)();
        return true;
    } catch (const RuntimeError &) {
        return false;
    }
}

// Runs the block; a run-time error runs the recovery instead of the rest of the block.
template <class Block, class Recovery>
void recoverOnError(Block &&block, Recovery &&recovery)
{
    try {
        std::forward<Block>(block)();
    } catch (const RuntimeError &e) {
        std::forward<Recovery>(recovery)(e);
    }
}

} // namespace rt
