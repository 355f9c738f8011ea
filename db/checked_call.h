#pragma once

#include <ibase.h>

namespace db {

// A clean-up that has nothing to undo.
struct NoCleanUp {
    void operator()() const noexcept {}
};

// Makes one client-library call with a fresh status vector. When the call fails, the clean-up
// first puts the caller's state back (a handle to null, a statement to free), then `raise`
// turns the status vector into the failure; it does not return.
template <typename Call, typename CleanUp, typename Raise>
void checkedCall(Call&& call, CleanUp&& cleanUp, Raise&& raise) {
    ISC_STATUS_ARRAY status{};
    if (call(status) == 0) return;
    cleanUp();
    raise(status);
}

}  // namespace db
