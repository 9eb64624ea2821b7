#ifndef RRENSEN_DXF_WORKERS_H_
#define RRENSEN_DXF_WORKERS_H_

/// Pieces of work that may run on other threads than the one that makes
/// them. The programs run a drawing's polylines on every core
/// (ThreadWorkers); the page and the Python module, on one thread, give
/// none, and everything runs where it is made.

namespace dxf {

/// A piece of work. It holds everything it reads and writes, so that it
/// may run on any thread.
class Work {
 public:
  virtual ~Work() = default;
  virtual void Run() = 0;

  /// Where it is: kept by the Workers it is given to, under their lock.
  enum class State { kQueued, kRunning, kFinished };
  State state = State::kQueued;
};

/// Runs Work on threads of their own, and on the caller's when asked.
class Workers {
 public:
  virtual ~Workers() = default;
  /// Queues `work`, which must stay alive until Wait has returned for it.
  virtual void Start(Work& work) = 0;
  /// Whether `work` has run.
  virtual bool Finished(Work& work) = 0;
  /// Returns once `work` has run; runs it here if no thread has taken it.
  virtual void Wait(Work& work) = 0;
  /// Runs the oldest queued work here; false when none waits.
  virtual bool RunOne() = 0;
};

}  // namespace dxf

#endif  // RRENSEN_DXF_WORKERS_H_
