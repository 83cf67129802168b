#include "core/link/CommandQueue.h"

#include "core/base/Says.h"

namespace termika {

Result<void> CommandQueue::append(const CommandRow& row) {
  if (m_count >= kCapacity) {
    return Error{says("The command queue is full (%1 rows).").arg(kCapacity)};
  }
  m_rows.at(static_cast<size_t>(m_count)) = row;
  ++m_count;
  return {};
}

Result<void> CommandQueue::append(const CommandRows& rows) {
  if (rows.size() > static_cast<size_t>(kCapacity - m_count)) {
    return Error{says("%1 more rows do not fit the command queue (%2 of %3 used).")
                     .arg(rows.size())
                     .arg(m_count)
                     .arg(kCapacity)};
  }
  for (const CommandRow& row : rows) {
    m_rows.at(static_cast<size_t>(m_count)) = row;
    ++m_count;
  }
  return {};
}

void CommandQueue::clear() {
  m_count = 0;
  m_sendIndex = 0;
}

void CommandQueue::advance() {
  if (m_sendIndex < m_count) ++m_sendIndex;
}

}  // namespace termika
