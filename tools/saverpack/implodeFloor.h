// A quick proof that a block cannot implode smaller, without imploding it.
//
// Every stream spends 9 bits on each byte sent as a literal (binary mode)
// and saves at most a copy's literal bits less its cheapest code on each
// copy. Copies in one stream do not overlap, so the savings of all copies
// any coder could pick are at most the sum, over the positions, of the
// best saving a copy starting there could make. When even that leaves the
// stream no shorter than the block, no coder (greedy or optimal) shrinks
// it, and the trial need not run: random and compressed data are told
// apart in one short pass.
#ifndef SAVER_TOOLS_SAVERPACK_IMPLODE_FLOOR_H
#define SAVER_TOOLS_SAVERPACK_IMPLODE_FLOOR_H

#include <cstddef>
#include <cstdint>

// True when no binary-mode implode stream of the size bytes at data, with
// a dictionary of dictSize bytes, is shorter than size bytes. False when
// that cannot be shown quickly (the block has many repeats): imploding it
// tells.
bool implodeCannotShrink(const uint8_t *data, size_t size, unsigned dictSize);

#endif
