// The terms of the salt balance inside the leaching-efficiency searches.
// Each search variant (root-zone layers, zone searched) says, per zone, where
// its efficiency and the efficiency factor of its inflow come from: a stored
// efficiency, the trial value, or nothing (a factor of 1).
#pragma once

#include "ModelInput.h"

namespace halovane {

// LE1 .. LEa: the stored efficiency of a zone, in the order of the zones.
enum class Coef : unsigned char { One, Trial, LE1, LE2, LE3, LEt, LEa };

// The term of the stored efficiency of zone z, and the zone of such a term.
constexpr Coef StoredEfficiency(Zone z) { return static_cast<Coef>(static_cast<int>(Coef::LE1) + static_cast<int>(z)); }
constexpr Zone ZoneOfStored(Coef c) { return static_cast<Zone>(static_cast<int>(c) - static_cast<int>(Coef::LE1)); }

struct SearchTerms {
    // Efficiency applied to the outflow of each zone.
    Coef E[ZoneCount];
    // Factor of the inflow from the zone above: layer 2 (× Perc1 × a1),
    // layer 3 (× Perc2 × a2), transition zone (× Perc of the lowest layer ×
    // its average), aquifer (× Down × aT). Unused for layer 1.
    Coef In[ZoneCount];
    // Factor of the upward flow into the transition zone (× Up × SAq).
    Coef Up;
    // The horizontal inflow and outflow enter the aquifer multiplied by the
    // step length (one-layer searches).
    bool AquiferPerStep;
};

// The terms of the search for `zone` with `layers` layers.
SearchTerms TermsOfSearch(int layers, Zone zone);

// True when a term reads the stored efficiency of the zone under search,
// which the scan itself changes: its trials then depend on each other.
bool ReadsOwnStoredEfficiency(const SearchTerms& terms, Zone zone);

}  // namespace halovane
