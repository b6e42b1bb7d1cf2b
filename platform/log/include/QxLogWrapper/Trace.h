// A trace scope bound to a tracer and a function name. A record is written by
// setting the level, streaming pos(file, line), the message texts and a closing
// Modifier:
//
//   Trace trace(Tracer::getInstance(Tracer::Plugin), "StringCrop::validateProperties()");
//   trace.m_Level = 1;
//   trace << trace.pos(kSource, __LINE__) << "Unspecified inputString!" << Trace::Modifier(0);
#pragma once

#include "QxLogWrapper/Tracer.h"

#include <string>

class QXLOG_API Trace {
public:
    // Closes the record being streamed.
    class Modifier {
    public:
        explicit Modifier(int value = 0) : m_Value(value) {}
        int value() const { return m_Value; }

    private:
        int m_Value;
    };

    Trace(Tracer& tracer, const char* function);
    Trace(Tracer& tracer, const wchar_t* function);
    ~Trace();
    Trace(const Trace&) = delete;
    Trace& operator=(const Trace&) = delete;

    // Starts a record at a source position.
    Trace& pos(const char* file, int line);

    Trace& operator<<(Trace& self);
    Trace& operator<<(const char* text);
    Trace& operator<<(const wchar_t* text);
    Trace& operator<<(const Modifier& modifier);

    // Level of the next record: 1 error, 2 warning, higher for less important.
    int m_Level = 0;

private:
    Tracer& m_Tracer;
    const char* m_Function = nullptr;
    const wchar_t* m_WideFunction = nullptr;
    bool m_Open = false;
    std::string m_File;
    int m_Line = 0;
    std::string m_Message;
};
