#include "SearchTerms.h"

namespace halovane {

namespace {

constexpr int L1 = 0, L2 = 1, L3 = 2, T = 3, A = 4;

}  // namespace

SearchTerms TermsOfSearch(int layers, Zone zone) {
    SearchTerms t{};
    for (int z = 0; z < ZoneCount; ++z) t.E[z] = StoredEfficiency(static_cast<Zone>(z));
    t.In[L1] = Coef::One;
    t.Up = Coef::One;
    t.AquiferPerStep = false;
    const Coef trial = Coef::Trial;
    if (layers == 1) {
        t.In[T] = Coef::LE1;
        t.In[A] = Coef::LEt;
        t.AquiferPerStep = true;
        if (zone == Zone::Layer1) t.E[L1] = t.In[T] = trial;
        if (zone == Zone::Transition) t.E[T] = t.In[A] = trial;
        if (zone == Zone::Aquifer) t.E[A] = trial;
    } else if (layers == 2) {
        t.In[L2] = Coef::LE1;
        t.In[T] = Coef::LE2;
        // Deliberate: no LEt on the aquifer inflow, unlike the final pass; the efficiencies found depend on it.
        t.In[A] = Coef::One;
        // Deliberate: one trial for both layers, while the layer-2 inflow keeps the stored LE1.
        if (zone == Zone::Layer1) t.E[L1] = t.E[L2] = t.In[T] = trial;
        if (zone == Zone::Layer2) {
            t.E[L2] = trial;
            t.In[A] = Coef::LEt;
        }
        if (zone == Zone::Transition) t.E[T] = trial;
        if (zone == Zone::Aquifer) {
            t.E[A] = trial;
            // Deliberate: only this search weighs the upward flow by the stored aquifer efficiency.
            t.Up = Coef::LEa;
        }
    } else {
        t.In[L2] = Coef::LE1;
        t.In[L3] = Coef::LE2;
        t.In[T] = Coef::LE3;
        // Deliberate: no LEt on the aquifer inflow, unlike the final pass; the efficiencies found depend on it.
        t.In[A] = Coef::One;
        if (zone == Zone::Layer1) t.E[L1] = t.In[L2] = trial;
        if (zone == Zone::Layer2) t.E[L2] = trial;
        if (zone == Zone::Layer3) t.E[L3] = t.In[T] = trial;
        if (zone == Zone::Transition) t.E[T] = trial;
        if (zone == Zone::Aquifer) t.E[A] = trial;
    }
    return t;
}

bool ReadsOwnStoredEfficiency(const SearchTerms& terms, Zone zone) {
    const Coef own = StoredEfficiency(zone);
    for (int z = 0; z < ZoneCount; ++z)
        if (terms.E[z] == own || terms.In[z] == own) return true;
    return terms.Up == own;
}

}  // namespace halovane
