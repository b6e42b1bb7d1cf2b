// The fuzz targets: one function per target, each taking one input of any
// bytes. The libFuzzer programs call them, and so does the corpus replay test
// of the unit-test build.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fuzzing {

using TargetFunction = int (*)(const std::uint8_t* data, std::size_t size);

// Wildcard matching (plain, ignoring case, escaped) against an exhaustive reference.
int fuzzWildcard(const std::uint8_t* data, std::size_t size);
// Number and version readers, with the round trip of every accepted text.
int fuzzNumbers(const std::uint8_t* data, std::size_t size);
// Packing of lists into one text and back.
int fuzzVectorString(const std::uint8_t* data, std::size_t size);
// INI documents and the INI file reader.
int fuzzIni(const std::uint8_t* data, std::size_t size);
// mountinfo tables and lookups of paths in them.
int fuzzMountInfo(const std::uint8_t* data, std::size_t size);
// The text helpers of the utils library.
int fuzzText(const std::uint8_t* data, std::size_t size);
// The configuration-file readers of SystemPlugin: raw bytes and round trips.
int fuzzConfigs(const std::uint8_t* data, std::size_t size);
// passwd-style records and glibc's reading of numeric fields.
int fuzzRecords(const std::uint8_t* data, std::size_t size);
// dpkg's version order: antisymmetric and transitive on triples of texts.
int fuzzDebianVersion(const std::uint8_t* data, std::size_t size);
// dpkg's status file and journal read into the package database.
int fuzzDpkgStatus(const std::uint8_t* data, std::size_t size);
// Expression trees made from the bytes, evaluated over the real plug-in.
int fuzzTree(const std::uint8_t* data, std::size_t size);
// JSON documents read by the reference host, their trees evaluated.
int fuzzJson(const std::uint8_t* data, std::size_t size);

} // namespace fuzzing
