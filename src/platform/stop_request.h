// A stop that people ask for with Ctrl-C or `kill` (SIGINT, SIGTERM), taken as a request
// rather than an end: while an object of this class lives those signals only set a flag,
// which a program looks at between two units of work, so that it never stops in the middle
// of one. Calls interrupted by the signal go on (SA_RESTART). Afterwards the signals act
// as they did before. One object at a time.
#pragma once

namespace qx {

class StopRequest {
 public:
  StopRequest();
  ~StopRequest();
  StopRequest(const StopRequest&) = delete;
  StopRequest& operator=(const StopRequest&) = delete;

  // The signal that asked to stop, 0 while none did.
  int Signal() const;
  bool Requested() const { return Signal() != 0; }
};

}  // namespace qx
