// Trace scopes and record streaming.
#include "QxLogWrapper/Trace.h"

#include "base/Utf8.h"

#include <cstring>
#include <cwchar>

namespace {

void appendWide(std::string& out, const wchar_t* text) {
    if (text)
        base::encodeUtf8(text, std::wcslen(text), out, true);
}

} // namespace

Trace::Trace(Tracer& tracer, const char* function) : m_Tracer(tracer), m_Function(function) {}

Trace::Trace(Tracer& tracer, const wchar_t* function)
    : m_Tracer(tracer), m_WideFunction(function) {}

Trace::~Trace() = default;

Trace& Trace::pos(const char* file, int line) {
    m_Open = m_Tracer.isEnabled();
    if (m_Open) {
        m_File = file ? file : "";
        m_Line = line;
        m_Message.clear();
    }
    return *this;
}

Trace& Trace::operator<<(Trace& /*self*/) {
    return *this;
}

Trace& Trace::operator<<(const char* text) {
    if (m_Open && text)
        m_Message += text;
    return *this;
}

Trace& Trace::operator<<(const wchar_t* text) {
    if (m_Open)
        appendWide(m_Message, text);
    return *this;
}

Trace& Trace::operator<<(const Modifier& /*modifier*/) {
    if (!m_Open)
        return *this;
    m_Open = false;
    TraceRecord record;
    record.component = m_Tracer.component();
    if (m_Function)
        record.function = m_Function;
    else
        appendWide(record.function, m_WideFunction);
    record.level = m_Level;
    record.file = std::move(m_File);
    record.line = m_Line;
    record.message = std::move(m_Message);
    m_Tracer.write(record);
    return *this;
}
