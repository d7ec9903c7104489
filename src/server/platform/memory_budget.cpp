#include "platform/memory_budget.h"

#include <utility>

#include "platform/heap.h"

namespace parlavo::server {

namespace {

thread_local MemoryBudget* t_budget = nullptr;

}  // namespace

MemoryBudget::Share::Share(Share&& other) noexcept
    : m_budget(std::exchange(other.m_budget, nullptr)), m_bytes(std::exchange(other.m_bytes, 0)) {}

MemoryBudget::Share& MemoryBudget::Share::operator=(Share&& other) noexcept {
  if (this != &other) {
    if (m_budget) m_budget->Give(m_bytes);
    m_budget = std::exchange(other.m_budget, nullptr);
    m_bytes = std::exchange(other.m_bytes, 0);
  }
  return *this;
}

MemoryBudget::Share::~Share() {
  if (m_budget) m_budget->Give(m_bytes);
}

void MemoryBudget::Share::ShrinkTo(std::size_t bytes) {
  if (!m_budget || bytes >= m_bytes) return;
  m_budget->Give(m_bytes - bytes);
  m_bytes = bytes;
}

bool MemoryBudget::Share::Grow(std::size_t bytes) {
  if (m_budget && !m_budget->Reserve(bytes)) return false;
  m_bytes += bytes;
  return true;
}

std::optional<MemoryBudget::Share> MemoryBudget::Take(std::size_t bytes) {
  if (!Reserve(bytes)) return std::nullopt;
  return Share(this, bytes);
}

bool MemoryBudget::Reserve(std::size_t bytes) {
  std::lock_guard lock(m_mutex);
  if (bytes > m_left) return false;
  m_left -= bytes;
  return true;
}

MemoryBudget::ThisThread::ThisThread(MemoryBudget& budget) : m_outer(t_budget) { t_budget = &budget; }

MemoryBudget::ThisThread::~ThisThread() { t_budget = m_outer; }

MemoryBudget::Share MemoryBudget::ShareOfThisThread() { return Share(t_budget, 0); }

void MemoryBudget::Give(std::size_t bytes) {
  std::lock_guard lock(m_mutex);
  m_left += bytes;
  m_returnDue = true;
}

void MemoryBudget::ReturnFreedMemoryWhenIdle() {
  {
    std::lock_guard lock(m_mutex);
    if (!m_returnDue || m_left != m_total) return;
    m_returnDue = false;
  }
  ReturnFreeHeapMemory();
}

}  // namespace parlavo::server
