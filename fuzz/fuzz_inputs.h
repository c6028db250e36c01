// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

// The fuzzers' entry points, shared by the libFuzzer programs and by the test that replays the
// stored corpus, so both drive exactly the same code.

// Decodes `data` as a picture file; refusing it is a fine outcome, crashing or hanging is not.
void FuzzPicture(const std::uint8_t* data, std::size_t size);

// Plays `data` as a sequence of operations on an oscilloscope chart: ranges (NaN, infinities,
// ±1e308, reversed and equal ends), appends, removals and clears, sizes, mouse presses, moves,
// releases and wheel steps delivered as window-system events, and paints. Needs a
// QApplication. Any exception that reaches an event's entry point aborts: the shield is a last
// resort, not a way to hide faults.
void FuzzChart(const std::uint8_t* data, std::size_t size);

// Loads `data` as the notebook's file: it loads, or it is put aside whole with a message. Rows
// loaded have ids of their own and read back the same, from the file as the load left it and
// once saved again. Any other outcome aborts.
void FuzzNotebook(const std::uint8_t* data, std::size_t size);
