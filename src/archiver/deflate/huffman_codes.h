#pragma once
// Canonical Huffman codes of deflate's dynamic blocks (RFC 1951, 3.2.2).
#include <cstdint>

// Code lengths for the n symbols with the given frequencies, none longer than limit; unused
// symbols get 0. The code is always complete, which inflaters insist on: when fewer than two
// symbols are used, one or two unused ones get length 1 as well.
void BuildCodeLengths(const uint32_t* frequencies, unsigned n, unsigned limit, uint8_t* lengths);

// The canonical codes of the lengths, bit-reversed, because deflate sends Huffman codes from
// their most significant bit while the bit writer fills bytes from the least significant one.
void BuildCanonicalCodes(const uint8_t* lengths, unsigned n, uint16_t* codes);
