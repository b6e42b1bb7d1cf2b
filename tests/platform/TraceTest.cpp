// The logging wrapper: a record per modifier reaches the installed sink, with
// its message in UTF-8; scopes alone write nothing; a removed sink gets nothing.
#include "QxLogWrapper/Trace.h"
#include "QxLogWrapper/Tracer.h"

#include <gtest/gtest.h>

#include <vector>

TEST(Trace, WritesOneRecordPerModifierToTheSink) {
    std::vector<TraceRecord> records;
    Tracer::setSink([&records](const TraceRecord& record) { records.push_back(record); });
    { Trace scope(Tracer::getInstance(Tracer::Plugin), "Thing::Thing()"); }
    Trace trace(Tracer::getInstance(Tracer::Plugin), L"Thing::run()");
    trace.m_Level = 2;
    trace << trace.pos("src/file", 12) << "first " << L"\u00e9" << Trace::Modifier(0);
    Tracer::setSink(nullptr);
    trace << trace.pos("src/file", 13) << "lost" << Trace::Modifier(0);
    ASSERT_EQ(records.size(), 1u);
    const TraceRecord& record = records[0];
    EXPECT_TRUE(record.component == 5 && record.function == "Thing::run()" && record.level == 2 &&
                record.file == "src/file" && record.line == 12);
    EXPECT_EQ(record.message, "first \xC3\xA9");
    EXPECT_FALSE(Tracer::getInstance(Tracer::Plugin).isEnabled());
}
