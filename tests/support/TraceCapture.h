// Captures the trace records written while it lives.
#pragma once

#include "QxLogWrapper/Tracer.h"

#include <memory>
#include <string>
#include <vector>

namespace testsupport {

class TraceCapture {
public:
    TraceCapture() : m_Records(std::make_shared<std::vector<TraceRecord>>()) {
        auto records = m_Records;
        Tracer::setSink([records](const TraceRecord& record) { records->push_back(record); });
    }
    ~TraceCapture() { Tracer::setSink(nullptr); }
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    const std::vector<TraceRecord>& records() const { return *m_Records; }

    std::vector<std::string> messages() const {
        std::vector<std::string> result;
        for (const TraceRecord& record : *m_Records)
            result.push_back(record.message);
        return result;
    }

    void clear() { m_Records->clear(); }

private:
    std::shared_ptr<std::vector<TraceRecord>> m_Records;
};

} // namespace testsupport
