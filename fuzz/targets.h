#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <span>

// The bodies of the fuzz targets. Each takes any bytes, runs them through one part of the
// program and checks what must hold whatever the bytes are. The fuzzers call them with
// generated inputs; the test suite replays the kept inputs through the very same bodies.
namespace FuzzTargets {

// Empty when every check held; otherwise what went wrong, for the report.
using Body = QString (*)(const std::uint8_t *data, std::size_t size);

struct Target {
    const char *name; // also the folder of its kept inputs
    Body body;
};

// The card record: decode, encode, single-field reads.
QString card(const std::uint8_t *data, std::size_t size);
// The price-list page: decode and encode of eight slots.
QString pricePage(const std::uint8_t *data, std::size_t size);
// The password store file as found on disk, its reading and rewriting, and the cipher.
QString passwordStore(const std::uint8_t *data, std::size_t size);
// The number rules: parse, shortest form, amount rule, quantity rule.
QString numberRules(const std::uint8_t *data, std::size_t size);
// A whole archive of any size and bytes: record reading and every list over it.
QString archive(const std::uint8_t *data, std::size_t size);
// A picture file of any bytes, read at its own size and straight to a slot's size.
QString picture(const std::uint8_t *data, std::size_t size);

std::span<const Target> all();

} // namespace FuzzTargets
