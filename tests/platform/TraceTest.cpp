// The logging wrapper: records reach an installed sink, and nothing is
// written by scopes alone or without a sink.
#include "QxLogWrapper/Trace.h"
#include "QxLogWrapper/Tracer.h"
#include "support/TraceCapture.h"

#include <gtest/gtest.h>

TEST(Trace, WritesOneRecordPerModifierToTheSink) {
    {
        testsupport::TraceCapture capture;
        { Trace scope(Tracer::getInstance(Tracer::Plugin), "Thing::Thing()"); }
        Trace trace(Tracer::getInstance(Tracer::Plugin), L"Thing::run()");
        trace.m_Level = 1;
        trace << trace.pos("src/file", 12) << "first " << L"\u00e9" << Trace::Modifier(0);
        trace.m_Level = 2;
        trace << trace.pos("src/file", 13) << "second" << Trace::Modifier(0);
        ASSERT_EQ(capture.records().size(), 2u);
        const TraceRecord& first = capture.records()[0];
        EXPECT_TRUE(first.component == 5 && first.function == "Thing::run()" && first.level == 1 &&
                    first.file == "src/file" && first.line == 12);
        EXPECT_EQ(first.message, "first \xC3\xA9");
        EXPECT_TRUE(capture.records()[1].message == "second" && capture.records()[1].level == 2);
    }
    int delivered = 0;
    Tracer::setSink([&delivered](const TraceRecord&) { ++delivered; });
    Tracer::setSink(nullptr);
    Trace trace(Tracer::getInstance(Tracer::Plugin), "f");
    trace << trace.pos("x", 1) << "lost" << Trace::Modifier(0);
    EXPECT_EQ(delivered, 0);
    EXPECT_FALSE(Tracer::getInstance(Tracer::Plugin).isEnabled());
}
