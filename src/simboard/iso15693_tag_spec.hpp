#pragma once

#include <memory>

#include "simboard/iso15693_tag.hpp"
#include "simboard/tag_factories.hpp"

namespace simboard {

// The antenna's own ISO15693 tag: 64 kbit (the largest product of the family) with
// some text, one locked block and one sector behind password 1.
Iso15693TagConfig defaultIso15693TagConfig();

// Keys of an "iso15693" section, each optional (the default tag's value otherwise):
//   uid        16 hex digits, most significant byte first
//   dsfid, afi, ic   two hex digits
//   blocks     number of blocks (decimal), or size: memory in kbit (decimal)
//   blocksize  bytes per block (decimal, 1 to 32)
//   data       hex bytes from block 0; the rest of the memory is zero
//   locked     locked block addresses in hex, separated by blanks or commas
// A section that names the geometry or the data describes a tag of its own: the
// default tag's text, locked block and protected sector are then left out.
// nullptr when a value cannot be read.
std::unique_ptr<Tag> makeIso15693Tag(const TagSpec& spec);

}  // namespace simboard
