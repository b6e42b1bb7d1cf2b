// Reads corehost's JSON documents: validates their shape and turns them into
// node descriptions, naming the place of the first fault.
#pragma once

#include "eval/Document.h"

#include <cstddef>
#include <string>
#include <vector>

namespace corehost {

struct InputError {
    std::string path;     // JSON path of the fault ("" for the document itself)
    std::string message;  // UTF-8, one line; texts from the document are quoted shortened
    std::string source{}; // the document at fault, where several were read (checkUniqueIds)
};

class DocumentReader {
public:
    // The most a document may hold: reading stops there, whatever the source.
    static constexpr std::size_t kMaxDocumentBytes = std::size_t{64} << 20;

    // Parses `text` as a document. On failure returns false and fills `error`
    // with the first fault in document order. Invalid JSON, a duplicate key
    // and a NUL byte are reported with their line and column.
    static bool parse(const std::string& text, Document& document, InputError& error);

    // The whole content of a file, or of standard input for "-", of at most
    // kMaxDocumentBytes. On failure returns false with the reason in `error`.
    static bool readSource(const std::string& source, std::string& text, std::string& error);

    // Rule ids must be unique across the documents of one run (the empty id
    // of a single-tree document is not compared). On a repeated id returns
    // false; `error` names the second occurrence and where the first was.
    static bool checkUniqueIds(const std::vector<Document>& documents, InputError& error);
};

// A path for messages: the path itself, or "the document root" for "". A
// path of more than kShownPathParts parts (a node deep in a tree) keeps its
// first and last parts around "...(N more)...", so that a message stays one
// short line.
constexpr std::size_t kShownPathParts = 8;
std::string describePath(const std::string& path);

} // namespace corehost
