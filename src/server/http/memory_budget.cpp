#include "http/memory_budget.h"

#include <utility>

#include "platform/heap.h"

namespace parlavo::server {

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

std::optional<MemoryBudget::Share> MemoryBudget::Take(std::size_t bytes) {
  std::lock_guard lock(m_mutex);
  if (bytes > m_left) return std::nullopt;
  m_left -= bytes;
  return Share(this, bytes);
}

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
