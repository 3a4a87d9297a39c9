// "Changed since the read": what a read pass left a value at, kept beside the value. Every
// control keeps its shown state's baseline this way, and a page keeps the values its editors
// hold beside the controls (a text one edit box shows for several settings, the value of a
// detail frame several boxes share) as Recorded values read straight from the store. A write
// pass writes a setting only when its value differs from its baseline; a value no read has
// recorded counts as unchanged.
#pragma once

#include <optional>
#include <utility>

namespace vt::ui {

template <typename T>
class Baseline {
  public:
    void Take(const T& value) { read_ = value; }
    void Drop() { read_.reset(); }
    bool Differs(const T& now) const { return read_ && *read_ != now; }
    const std::optional<T>& Read() const { return read_; }

  private:
    std::optional<T> read_;
};

template <typename T>
class Recorded {
  public:
    Recorded() = default;
    Recorded(T value) : now_(std::move(value)) {}

    // The read pass: the value as stored, held now and recorded.
    void Read(const T& stored) {
        now_ = stored;
        baseline_.Take(stored);
        inexact_ = touched_ = false;
    }
    // The read pass found no value, or one the control cannot hold as it is: `shown` stands
    // in for it. Once the user sets a value, even `shown` again, the store does not hold it.
    void ReadInexact(const T& shown) {
        Read(shown);
        inexact_ = true;
    }
    const T& Now() const { return now_; }
    T& Now() { return now_; }  // for an edit box that types into it
    // The user's (or a preset's) value; one that differs from the value held counts as a touch.
    void Set(T value) {
        if (value != now_) touched_ = true;
        now_ = std::move(value);
    }
    // The user takes this value as it is shown, even the one held.
    void Take(T value) {
        now_ = std::move(value);
        touched_ = true;
    }
    bool Changed() const {
        return baseline_.Differs(now_) || (inexact_ && touched_ && baseline_.Read());
    }
    // What the read pass found (the value held, when nothing was read yet).
    const T& AsRead() const { return baseline_.Read() ? *baseline_.Read() : now_; }
    void Revert() {
        now_ = AsRead();
        touched_ = false;
    }

  private:
    T now_{};
    Baseline<T> baseline_;
    bool inexact_ = false;  // the store holds no value, or another than the one read
    bool touched_ = false;  // set by the user since the read
};

}  // namespace vt::ui
