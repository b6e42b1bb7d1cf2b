// Tracers and the process-wide sink.
#include "QxLogWrapper/Tracer.h"

#include <atomic>
#include <memory>
#include <mutex>

namespace {

std::mutex g_SinkMutex;
std::shared_ptr<const TraceSink> g_Sink; // guarded by g_SinkMutex
std::atomic<bool> g_HasSink{false};

} // namespace

Tracer& Tracer::getInstance(Component component) {
    // The component set is small and fixed: unknown values share the host's tracer.
    static Tracer host(Host);
    static Tracer plugin(Plugin);
    return component == Plugin ? plugin : host;
}

void Tracer::setSink(TraceSink sink) {
    std::lock_guard<std::mutex> lock(g_SinkMutex);
    g_Sink = sink ? std::make_shared<const TraceSink>(std::move(sink)) : nullptr;
    g_HasSink.store(g_Sink != nullptr, std::memory_order_release);
}

bool Tracer::isEnabled() const {
    return g_HasSink.load(std::memory_order_acquire);
}

void Tracer::write(const TraceRecord& record) const {
    std::shared_ptr<const TraceSink> sink;
    {
        std::lock_guard<std::mutex> lock(g_SinkMutex);
        sink = g_Sink;
    }
    if (sink)
        (*sink)(record);
}
