#ifndef RRENSEN_DXF_THREAD_WORKERS_H_
#define RRENSEN_DXF_THREAD_WORKERS_H_

/// Workers on threads of their own: the programs'.

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "dxf/workers.h"

namespace dxf {

class ThreadWorkers : public Workers {
 public:
  /// `threads` threads besides the caller's (0 runs everything in Wait and
  /// RunOne).
  explicit ThreadWorkers(int threads);
  /// Waits for the work the threads are running; queued work that no one
  /// waited for does not run.
  ~ThreadWorkers() override;
  ThreadWorkers(const ThreadWorkers&) = delete;
  ThreadWorkers& operator=(const ThreadWorkers&) = delete;

  void Start(Work& work) override;
  bool Finished(Work& work) override;
  void Wait(Work& work) override;
  bool RunOne() override;

 private:
  /// Runs `work`, taken from the queue, and says it has run.
  void RunTaken(Work& work, std::unique_lock<std::mutex>& lock);
  void Serve();

  std::mutex mutex_;
  std::condition_variable queued_;    ///< work was queued, or the end came
  std::condition_variable finished_;  ///< some work has run
  std::deque<Work*> queue_;
  bool ending_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace dxf

#endif  // RRENSEN_DXF_THREAD_WORKERS_H_
