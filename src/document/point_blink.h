#ifndef KORVALE_DOCUMENT_POINT_BLINK_H_
#define KORVALE_DOCUMENT_POINT_BLINK_H_

// A calibration point blinking in the image view: the view's timer ticks
// every 100 ms; the point is lit for two ticks, then plain for two, until
// 24 ticks have passed.

namespace kv {

class PointBlink {
 public:
  static constexpr int kIntervalMs = 100;
  static constexpr int kTicks = 24;

  // Starts over, also while another point blinks.
  void Start(int index) {
    index_ = index;
    ticks_ = 0;
    running_ = true;
  }
  // False once the blink has ended (the timer may stop).
  bool Tick() {
    if (!running_) return false;
    if (++ticks_ >= kTicks) Stop();
    return running_;
  }
  void Stop() {
    running_ = false;
    index_ = -1;
    ticks_ = 0;
  }

  bool running() const { return running_; }
  // How point `index` is drawn: lit or plain while it blinks, otherwise as
  // `highlighted` says.
  bool DrawnHighlighted(int index, bool highlighted) const {
    if (!running_ || index != index_) return highlighted;
    return (ticks_ / 2) % 2 == 0;
  }

 private:
  int index_ = -1;
  int ticks_ = 0;
  bool running_ = false;
};

}  // namespace kv

#endif  // KORVALE_DOCUMENT_POINT_BLINK_H_
