#pragma once
// DecoderBusy keeps the frame decoder and the one-second recording tick from running inside one
// another (a window operation may run pending events). It is not a lock between threads: both
// run on the GUI thread. Whoever finds it set returns at once.

namespace volt {

class BusyFlag {
  public:
    [[nodiscard]] bool IsSet() const noexcept { return set_; }

  private:
    friend class BusyGuard;
    bool set_ = false;
};

// Takes the flag if it is free and gives it back on every way out of the scope, exceptions
// included.
class BusyGuard {
  public:
    explicit BusyGuard(BusyFlag& flag) noexcept : flag_(flag), acquired_(!flag.set_) {
        flag_.set_ = true;
    }
    ~BusyGuard() {
        if (acquired_) {
            flag_.set_ = false;
        }
    }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

    // False when the flag was already set: the caller must return without doing anything.
    [[nodiscard]] bool Acquired() const noexcept { return acquired_; }

  private:
    BusyFlag& flag_;
    bool acquired_;
};

}  // namespace volt
