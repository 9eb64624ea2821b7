#include "dxf/thread_workers.h"

#include <algorithm>

namespace dxf {

ThreadWorkers::ThreadWorkers(int threads) {
  for (int k = 0; k < threads; ++k) threads_.emplace_back([this] { Serve(); });
}

ThreadWorkers::~ThreadWorkers() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    ending_ = true;
  }
  queued_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

void ThreadWorkers::Start(Work& work) {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    work.state = Work::State::kQueued;
    queue_.push_back(&work);
  }
  queued_.notify_one();
}

bool ThreadWorkers::Finished(Work& work) {
  const std::lock_guard<std::mutex> lock(mutex_);
  return work.state == Work::State::kFinished;
}

void ThreadWorkers::Wait(Work& work) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (work.state == Work::State::kQueued) {
    queue_.erase(std::find(queue_.begin(), queue_.end(), &work));
    RunTaken(work, lock);
    return;
  }
  finished_.wait(lock, [&] { return work.state == Work::State::kFinished; });
}

bool ThreadWorkers::RunOne() {
  std::unique_lock<std::mutex> lock(mutex_);
  if (queue_.empty()) return false;
  Work& work = *queue_.front();
  queue_.pop_front();
  RunTaken(work, lock);
  return true;
}

void ThreadWorkers::RunTaken(Work& work, std::unique_lock<std::mutex>& lock) {
  work.state = Work::State::kRunning;
  lock.unlock();
  work.Run();
  lock.lock();
  work.state = Work::State::kFinished;
  finished_.notify_all();
}

void ThreadWorkers::Serve() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    queued_.wait(lock, [this] { return ending_ || !queue_.empty(); });
    if (ending_) return;
    Work& work = *queue_.front();
    queue_.pop_front();
    RunTaken(work, lock);
  }
}

}  // namespace dxf
