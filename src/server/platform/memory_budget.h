#pragma once

#include <cstddef>
#include <mutex>
#include <optional>

namespace parlavo::server {

// The memory that requests may make the service hold beyond their
// connections' own buffers: the engines' work, the upstream replies they
// read and the replies waiting to be read. A request that does not fit is
// refused (503), and an upstream reply that does not is the engine's failure,
// instead of growing the process past its bound.
class MemoryBudget {
 public:
  // A part of the budget, given back when destroyed.
  class Share {
   public:
    Share() = default;
    Share(Share&& other) noexcept;
    Share& operator=(Share&& other) noexcept;
    ~Share();
    // The work is done; only `bytes` (its reply) stay held.
    void ShrinkTo(std::size_t bytes);
    // Takes `bytes` more; false, taking nothing, when they are not left. A
    // share of no budget grows freely.
    bool Grow(std::size_t bytes);
    std::size_t bytes() const { return m_bytes; }

   private:
    friend class MemoryBudget;
    Share(MemoryBudget* budget, std::size_t bytes) : m_budget(budget), m_bytes(bytes) {}
    MemoryBudget* m_budget = nullptr;
    std::size_t m_bytes = 0;
  };

  explicit MemoryBudget(std::size_t bytes) : m_left(bytes), m_total(bytes) {}
  MemoryBudget(const MemoryBudget&) = delete;
  MemoryBudget& operator=(const MemoryBudget&) = delete;

  // nullopt when fewer than `bytes` are left.
  std::optional<Share> Take(std::size_t bytes);

  // While it lives, work on this thread draws on `budget` through
  // ShareOfThisThread(): engines deep below a request (an upstream reply
  // being read) charge the request's budget without every layer passing it.
  class ThisThread {
   public:
    explicit ThisThread(MemoryBudget& budget);
    ~ThisThread();
    ThisThread(const ThisThread&) = delete;
    ThisThread& operator=(const ThisThread&) = delete;

   private:
    MemoryBudget* m_outer;
  };
  // An empty share of this thread's budget, to grow; of none (growing
  // freely) outside a ThisThread.
  static Share ShareOfThisThread();
  // Once every share is back, hands the heap's free pages back to the
  // system: the C library would keep them, and an idle service would stay as
  // large as its busiest moment.
  void ReturnFreedMemoryWhenIdle();

 private:
  bool Reserve(std::size_t bytes);
  void Give(std::size_t bytes);

  std::mutex m_mutex;
  std::size_t m_left;
  const std::size_t m_total;
  bool m_returnDue = false;
};

}  // namespace parlavo::server
