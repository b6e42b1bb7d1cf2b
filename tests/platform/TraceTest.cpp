// The logging wrapper: records reach an installed sink, and nothing is written without one.
#include "QxLogWrapper/Trace.h"
#include "QxLogWrapper/Tracer.h"
#include "support/TraceCapture.h"

#include <gtest/gtest.h>

TEST(Trace, WritesOneRecordPerModifier) {
    testsupport::TraceCapture capture;
    Trace trace(Tracer::getInstance(Tracer::Plugin), L"Thing::run()");
    trace.m_Level = 1;
    trace << trace.pos("src/file", 12) << "first " << L"\u00e9" << Trace::Modifier(0);
    trace.m_Level = 2;
    trace << trace.pos("src/file", 13) << "second" << Trace::Modifier(0);

    ASSERT_EQ(capture.records().size(), 2u);
    const TraceRecord& first = capture.records()[0];
    EXPECT_EQ(first.component, 5);
    EXPECT_EQ(first.function, "Thing::run()");
    EXPECT_EQ(first.level, 1);
    EXPECT_EQ(first.file, "src/file");
    EXPECT_EQ(first.line, 12);
    EXPECT_EQ(first.message, "first \xC3\xA9");
    EXPECT_EQ(capture.records()[1].message, "second");
    EXPECT_EQ(capture.records()[1].level, 2);
}

TEST(Trace, ScopesAloneWriteNothing) {
    testsupport::TraceCapture capture;
    { Trace trace(Tracer::getInstance(Tracer::Plugin), "Thing::Thing()"); }
    EXPECT_TRUE(capture.records().empty());
}

TEST(Trace, WithoutASinkNothingIsDelivered) {
    int delivered = 0;
    Tracer::setSink([&delivered](const TraceRecord&) { ++delivered; });
    Tracer::setSink(nullptr);
    Trace trace(Tracer::getInstance(Tracer::Plugin), "f");
    trace << trace.pos("x", 1) << "lost" << Trace::Modifier(0);
    EXPECT_EQ(delivered, 0);
    EXPECT_FALSE(Tracer::getInstance(Tracer::Plugin).isEnabled());
}
