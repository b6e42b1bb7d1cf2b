// Tracers: one per component, delivering finished trace records to the sink a
// host installs. With no sink installed nothing is written anywhere.
#pragma once

#include <functional>
#include <string>

#define QXLOG_API __attribute__((visibility("default")))

// One finished record. Texts are UTF-8.
struct TraceRecord {
    int component = 0;
    std::string function;
    int level = 0;
    std::string file;
    int line = 0;
    std::string message;
};

using TraceSink = std::function<void(const TraceRecord&)>;

class QXLOG_API Tracer {
public:
    enum Component {
        Host = 0,
        Plugin = 5, // the component every plug-in record is written on
    };

    static Tracer& getInstance(Component component);

    // Installs the sink that receives every record of every component; an empty
    // function uninstalls it. Install it before any trace is written: records
    // may be written from any thread that drives expressions.
    static void setSink(TraceSink sink);

    Component component() const { return m_Component; }

    // Whether a sink is installed (cheap; traces skip all formatting otherwise).
    bool isEnabled() const;

    void write(const TraceRecord& record) const;

private:
    explicit Tracer(Component component) : m_Component(component) {}

    Component m_Component;
};
