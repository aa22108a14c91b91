#pragma once
// Queue<Row>: an in-memory table whose record buffer is also its current row. Every read and
// every add leaves the row it touched in the buffer and makes it the current row (Pointer);
// Put writes the buffer back over the current row, Delete removes it.
//
// Keys are member pointers (&Row::CabNum), optionally wrapped in Descending(). A keyed Add
// inserts after every row with an equal key, so equal keys keep their order of arrival.
// Operations that can fail return false and set ERRORCODE(); positions are 1-based.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/rt/error_code.h"

namespace rt {

template <class Member>
struct Descending {
  Member member;
};
template <class Member>
Descending(Member) -> Descending<Member>;

namespace detail {
template <class Row, class Key>
struct KeyTraits;
template <class Row, class Field>
struct KeyTraits<Row, Field Row::*> {
  static int Compare(const Row& a, const Row& b, Field Row::*member) {
    if (a.*member < b.*member) return -1;
    if (b.*member < a.*member) return 1;
    return 0;
  }
};
template <class Row, class Field>
struct KeyTraits<Row, Descending<Field Row::*>> {
  static int Compare(const Row& a, const Row& b, Descending<Field Row::*> key) {
    return -KeyTraits<Row, Field Row::*>::Compare(a, b, key.member);
  }
};
template <class Row, class Key>
concept QueueKey = requires(const Row& a, Key key) { KeyTraits<Row, Key>::Compare(a, a, key); };
}  // namespace detail

template <class Row>
class Queue {
 public:
  Row& Buffer() { return buffer_; }
  const Row& Buffer() const { return buffer_; }
  Row* operator->() { return &buffer_; }
  Row& operator*() { return buffer_; }

  std::size_t Records() const { return rows_.size(); }
  // Position of the current row; 0 when there is none (empty, freed, or just deleted).
  std::size_t Pointer() const { return pointer_; }
  // Counts every change of the rows; lists use it to know when to redraw.
  std::uint64_t Version() const { return version_; }

  // Reads a row without touching the buffer (for displays); position must be valid.
  const Row& Peek(std::size_t position) const { return rows_.at(position - 1); }

  // Appends the buffer.
  void Add() { InsertAt(rows_.size()); }
  // Inserts the buffer at a position from 1 to Records() + 1.
  bool Add(std::size_t position) {
    if (position < 1 || position > rows_.size() + 1) return Fail(ERRORS::EntryNotFound);
    InsertAt(position - 1);
    return true;
  }
  // Inserts the buffer in key order, after the rows with equal keys.
  template <class... Keys>
    requires(sizeof...(Keys) > 0 && (detail::QueueKey<Row, Keys> && ...))
  void Add(Keys... keys) {
    auto at = std::upper_bound(rows_.begin(), rows_.end(), buffer_,
                               [&](const Row& a, const Row& b) { return CompareKeys(a, b, keys...) < 0; });
    InsertAt(static_cast<std::size_t>(at - rows_.begin()));
  }

  bool Get(std::size_t position) {
    if (position < 1 || position > rows_.size()) return Fail(ERRORS::EntryNotFound);
    buffer_ = rows_[position - 1];
    pointer_ = position;
    rt::SetErrorCode(0);
    return true;
  }
  // Reads the first row whose keys equal the buffer's.
  template <class... Keys>
    requires(sizeof...(Keys) > 0 && (detail::QueueKey<Row, Keys> && ...))
  bool Get(Keys... keys) {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      if (CompareKeys(rows_[i], buffer_, keys...) == 0) return Get(i + 1);
    }
    return Fail(ERRORS::EntryNotFound);
  }

  bool Put() {
    if (pointer_ == 0) return Fail(ERRORS::NoCurrentEntry);
    rows_[pointer_ - 1] = buffer_;
    ++version_;
    rt::SetErrorCode(0);
    return true;
  }
  // Removes the current row; the buffer keeps its values and there is no current row until
  // the next read or add.
  bool Delete() {
    if (pointer_ == 0) return Fail(ERRORS::NoCurrentEntry);
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(pointer_ - 1));
    pointer_ = 0;
    ++version_;
    rt::SetErrorCode(0);
    return true;
  }
  // Removes every row; the buffer keeps its values.
  void Free() {
    rows_.clear();
    pointer_ = 0;
    ++version_;
  }
  // Blanks the buffer.
  void Clear() { buffer_ = Row{}; }

  template <class... Keys>
    requires(sizeof...(Keys) > 0 && (detail::QueueKey<Row, Keys> && ...))
  void Sort(Keys... keys) {
    SortBy([&](const Row& a, const Row& b) { return CompareKeys(a, b, keys...); });
  }
  // compare returns below 0, 0 or above 0; equal rows keep their order.
  void Sort(const std::function<int(const Row&, const Row&)>& compare) { SortBy(compare); }

 private:
  template <class... Keys>
  static int CompareKeys(const Row& a, const Row& b, Keys... keys) {
    int result = 0;
    ((result = result != 0 ? result : detail::KeyTraits<Row, Keys>::Compare(a, b, keys)), ...);
    return result;
  }

  template <class Compare>
  void SortBy(const Compare& compare) {
    std::stable_sort(rows_.begin(), rows_.end(), [&](const Row& a, const Row& b) { return compare(a, b) < 0; });
    pointer_ = 0;
    ++version_;
  }

  void InsertAt(std::size_t index) {
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(index), buffer_);
    pointer_ = index + 1;
    ++version_;
    rt::SetErrorCode(0);
  }

  bool Fail(int code) {
    rt::SetErrorCode(code);
    return false;
  }

  std::vector<Row> rows_;
  Row buffer_{};
  std::size_t pointer_ = 0;
  std::uint64_t version_ = 0;
};

}  // namespace rt
