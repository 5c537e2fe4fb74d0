#include "fuzz/ScriptedPort.h"

#include "fuzz/Check.h"

namespace fuzz {

std::deque<std::vector<Read>> ParseScript(const std::uint8_t* data, std::size_t size) {
    std::deque<std::vector<Read>> parts(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] != ESCAPE || i + 1 == size) {
            parts.back().push_back({sys::ReadStatus::Byte, data[i]});
            continue;
        }
        const std::uint8_t code = data[++i];
        if (code == ESC_EMPTY)
            parts.back().push_back({sys::ReadStatus::Empty, 0});
        else if (code == ESC_FAIL)
            parts.back().push_back({sys::ReadStatus::Failed, 0});
        else if (code == ESC_END_OF_PART)
            parts.emplace_back();
        else
            parts.back().push_back({sys::ReadStatus::Byte, code});
    }
    return parts;
}

ScriptedPort::ScriptedPort(std::shared_ptr<LineState> line) : m_line(std::move(line)) {
    ++m_line->openPorts;
}

ScriptedPort::~ScriptedPort() { --m_line->openPorts; }

void ScriptedPort::Discard(sys::DiscardScope) {
    // Either scope drops the input; there is no output queue to drop.
    m_line->arrived.clear();
    m_line->discardedSinceWrite = true;
}

bool ScriptedPort::WriteAndFlush(const std::uint8_t* data, std::size_t count) {
    FUZZ_CHECK(data != nullptr && count >= 1 && count <= 256);
    ExchangeRecord record;
    record.request.assign(data, data + count);
    record.discardedBeforeWrite = m_line->discardedSinceWrite;
    m_line->discardedSinceWrite = false;
    m_line->exchanges.push_back(std::move(record));
    if (!m_line->parts.empty()) {
        const std::vector<Read>& part = m_line->parts.front();
        m_line->arrived.insert(m_line->arrived.end(), part.begin(), part.end());
        m_line->parts.pop_front();
    }
    return true;
}

sys::ReadStatus ScriptedPort::ReadByte(std::uint8_t& byte) {
    FUZZ_CHECK(!m_line->exchanges.empty());  // nothing is read before a request is written
    Read read{sys::ReadStatus::Empty, 0};
    if (!m_line->arrived.empty()) {
        read = m_line->arrived.front();
        m_line->arrived.pop_front();
    }
    ExchangeRecord& current = m_line->exchanges.back();
    current.reads.push_back(read);
    // One reply is at most 256 bytes and five empty reads; a failure ends it at once.
    FUZZ_CHECK(current.reads.size() <= 256 + 5);
    if (read.status == sys::ReadStatus::Byte) byte = read.byte;
    return read.status;
}

void ScriptedPort::ClearError() {
    FUZZ_CHECK(!m_line->exchanges.empty());
    ++m_line->exchanges.back().clearErrors;
}

}  // namespace fuzz
