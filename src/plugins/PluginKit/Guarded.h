// The boundary towards the host: every operation a host calls on an
// expression during an evaluation catches what the expression's code throws
// (memory exhausted, above all) and reports it as a code, so that nothing
// thrown ever crosses into the host. The factory makes every expression as
// Guarded<T>, which derives from T, so the object is still a T for dynamic_cast.
#pragma once

#include "PluginKit/CommonCodes.h"
#include "PluginSDK/ScalarExpression.h"
#include "PluginSDK/ScalarOperator.h"
#include "PluginSDK/VectorExpression.h"
#include "PluginSDK/VectorOperator.h"

#include <exception>
#include <type_traits>

namespace PluginKit {

// Runs `call`; anything it throws becomes -103 after `clear` ran.
template <typename Call, typename Clear> TErrorCode guardedCall(Call call, Clear clear) noexcept {
    try {
        return call();
    } catch (...) {
        clear();
        return kInternalFailure;
    }
}

// The operations every expression has. A failed isReady answers "not ready";
// a failed disposeExpression leaves what it could not reset (the next dispose
// tries again).
template <typename T> class GuardedLifecycle : public T {
public:
    using T::T;
    bool isReady() override {
        bool ready = false;
        guardedCall([&] { return (ready = T::isReady()), kSuccess; }, [] {});
        return ready;
    }
    void disposeExpression() override {
        guardedCall([&] { return T::disposeExpression(), kSuccess; }, [] {});
    }
};

template <typename T> class GuardedScalar : public GuardedLifecycle<T> {
public:
    using GuardedLifecycle<T>::GuardedLifecycle;
    TErrorCode getScalarResult(PluginSDK::String& result) override {
        return guardedCall([&] { return T::getScalarResult(result); },
                           [&] { result = static_cast<const wchar_t*>(nullptr); });
    }
};

template <typename T> class GuardedVector : public GuardedLifecycle<T> {
public:
    using GuardedLifecycle<T>::GuardedLifecycle;
    TErrorCode getVectorResult(PluginSDK::StringVector& result) override {
        return guardedCall([&] { return T::getVectorResult(result); }, [&] { result.removeAll(); });
    }
};

// The feeding operations of operators.
template <typename Base, typename T> class GuardedOperator : public Base {
public:
    using Base::Base;
    TErrorCode update(const PluginSDK::String& value) override {
        return guardedCall([&] { return T::update(value); }, [] {});
    }
    TErrorCode update(const PluginSDK::StringVector& value) override {
        return guardedCall([&] { return T::update(value); }, [] {});
    }
    TErrorCode updateWithError(long code) override {
        return guardedCall([&] { return T::updateWithError(code); }, [] {});
    }
};

template <typename T> struct GuardOf {
    static constexpr bool kScalar = std::is_base_of_v<PluginSDK::ScalarExpression, T>;
    static constexpr bool kOperator = std::is_base_of_v<PluginSDK::ScalarOperator, T> ||
                                      std::is_base_of_v<PluginSDK::VectorOperator, T>;
    using Result = std::conditional_t<kScalar, GuardedScalar<T>, GuardedVector<T>>;
    using type = std::conditional_t<kOperator, GuardedOperator<Result, T>, Result>;
};

template <typename T> using Guarded = typename GuardOf<T>::type;

} // namespace PluginKit
