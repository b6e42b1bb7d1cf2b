// The root of every expression object: the properties the host attaches and
// the operations every kind of expression offers.
#pragma once

#include "PluginSDK/Types.h"

#include <cstddef>
#include <memory>

namespace PluginSDK {

class PLUGINSDK_API Expression {
public:
    Expression();
    virtual ~Expression();
    Expression(const Expression&) = delete;
    Expression& operator=(const Expression&) = delete;

    // True for operators: the host feeds them their children's results.
    virtual bool isOperator() = 0;
    // Kind code of the result.
    virtual ExpressionType getType() = 0;
    // True when the result is final and no further child result is needed.
    virtual bool isReady() = 0;
    // Resets the per-evaluation state for another evaluation.
    virtual void disposeExpression() = 0;

    // The text attached under `name`, or null; valid while the expression lives
    // and the property is not set again.
    const wchar_t* getProperty(const wchar_t* name) const;

    // Host side: attaches `value` under `name`, replacing an earlier value; a
    // null value detaches the property. A null name is ignored. Returns 0, or
    // -103 when memory ran out, in which case nothing changed. Each call takes
    // constant time on average, however many properties are attached.
    TErrorCode setProperty(const wchar_t* name, const wchar_t* value);

private:
    // One attached property: a single block that holds its name and its value,
    // each NUL-terminated, after the list links. Blocks never move, so a value
    // stays valid whatever other properties are attached or detached.
    struct Property;
    struct PropertyDeleter {
        void operator()(Property* property) const noexcept;
    };
    using PropertyPtr = std::unique_ptr<Property, PropertyDeleter>;
    // Properties by name, built once a node holds more than a few of them.
    struct Index;
    struct IndexDeleter {
        void operator()(Index* index) const noexcept;
    };

    // Room for one short property inside the object itself (most expressions
    // have a few short ones), so that it costs no allocation.
    static constexpr std::size_t kInlineBytes = 96;
    // Up to this many properties a walk of the list finds a name fastest.
    static constexpr std::size_t kUnindexedProperties = 8;

    PropertyPtr makeProperty(const wchar_t* name, const wchar_t* value);
    Property* find(const wchar_t* name) const;
    void attach(PropertyPtr property, Property* replaced);

    alignas(void*) unsigned char m_Inline[kInlineBytes];
    bool m_InlineUsed = false;
    std::size_t m_Count = 0;
    // The properties, most recently attached first, one block each.
    PropertyPtr m_Properties;
    std::unique_ptr<Index, IndexDeleter> m_Index;
};

} // namespace PluginSDK
