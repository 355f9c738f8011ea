#pragma once

#include <algorithm>
#include <vector>

namespace db {

// The non-owning lists through which attachments, transactions and statements know each other.
template <typename T>
void appendOnce(std::vector<T*>& list, T* item) {
    if (std::find(list.begin(), list.end(), item) == list.end()) list.push_back(item);
}

template <typename T>
void eraseFrom(std::vector<T*>& list, T* item) {
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

}  // namespace db
