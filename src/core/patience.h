#pragma once
// A file just written is often opened for a moment by another program (a virus scanner, an
// indexer, the sync client of a synchronised folder, another instance of this one), and the
// system refuses what would succeed a moment later. The steps that meet such a refusal wait it
// out here, a few seconds at most, instead of failing the operator's backup or save.
#include <functional>

// Tries step until it succeeds, until it fails with an error that passing does not take for a
// passing refusal, or until the patience runs out. Returns 0, or the system's error number of
// the last try. step reports the outcome as the platform's calls do: false with the error set.
unsigned long TryPatiently(const std::function<bool()>& step, const std::function<bool(unsigned long)>& passing);
