// The complete input data set of one simulation and the operations that
// belong with it.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace halovane {

// A series holds N + 1 values; element i belongs to time step i and
// element 0 is never read from or written to the input data file.
// Series are indexed with the int time step, s[i], without a cast; a cast
// to size_t appears only where a size is formed (static_cast<size_t>(n) + 1)
// or where a size is compared (static_cast<int>(s.size())).
using Series = std::vector<double>;

// The soil zones, always listed from the surface down.
enum class Zone { Layer1 = 0, Layer2, Layer3, Transition, Aquifer };
constexpr int ZoneCount = 5;

// The zones by the suffixes of their quantities: D1 is D[Z1], Dt is D[Zt],
// Da is D[Za].
constexpr Zone Z1 = Zone::Layer1, Z2 = Zone::Layer2, Z3 = Zone::Layer3, Zt = Zone::Transition, Za = Zone::Aquifer;

// Every zone, from the surface down.
constexpr std::array<Zone, ZoneCount> EveryZone = {Z1, Z2, Z3, Zt, Za};

// One value per zone, indexed by zone.
template <typename T>
struct ZoneArray {
    std::array<T, ZoneCount> values{};

    T& operator[](Zone z) { return values[static_cast<size_t>(z)]; }
    const T& operator[](Zone z) const { return values[static_cast<size_t>(z)]; }
    T* begin() { return values.data(); }
    T* end() { return values.data() + ZoneCount; }
    const T* begin() const { return values.data(); }
    const T* end() const { return values.data() + ZoneCount; }
    bool operator==(const ZoneArray& other) const { return values == other.values; }
    bool operator!=(const ZoneArray& other) const { return values != other.values; }
};

// Step lengths in days, in the order of the "Year", "Month", "Week", "Day"
// choice list.
constexpr int StepLengths[4] = {360, 30, 7, 1};

// The largest number of time steps a data set may have. A century of daily
// steps needs 36 525; the bound leaves room for ten centuries. The window,
// the file readers and the runner all refuse a larger count.
constexpr int MaxTimeSteps = 400000;

// Index of Ts in StepLengths, or -1 when Ts is none of them.
int StepLengthIndex(int ts);

// The model a run uses: the prescribed one, or the conserving variant whose
// water and salt balances close at every step length.
enum class ModelVariant { Prescribed, Conserving };

// The word of a variant in the input data file and the runner: "prescribed"
// or "conserving".
const char* VariantWord(ModelVariant variant);
// Reads such a word; false for any other text.
bool ParseModelVariant(const std::string& word, ModelVariant& variant);

struct ModelInput {
    ModelVariant Variant = ModelVariant::Prescribed;
    // General data
    std::string Title1;
    std::string Title2;
    std::string InputFileName;
    int NrTst = 0;      // number of time steps N
    int NrTstHydr = 0;  // steps given under Hydrological data (Input page)
    int Ts = 0;         // step length in days: 360, 30, 7 or 1
    int NrLayers = 0;   // root-zone layers: 1, 2 or 3
    bool DrainPresent = false;

    // Hydrological series, mm per time step
    Series Rain, Irrig, EvapT;
    // Irrig spread over following dry days (daily steps). The run forms it
    // on its working copy (PrepareRun); the data set's own copy is not read.
    Series IrrDist;

    // Soil table per zone: thickness D (m), total porosity TP and effective
    // porosity EP (%), leaching efficiency LE (%), initial salinity Sini
    // (dS/m). D1 is D[Z1], Dt is D[Zt], TPa is TP[Za], LE2 is LE[Z2]; the
    // initial salinities S1ini, S2ini, S3ini, STini, SAini are Sini[Z1],
    // Sini[Z2], Sini[Z3], Sini[Zt], Sini[Za].
    ZoneArray<double> D, TP, EP, LE, Sini;

    // Measured soil-moisture salinity per zone (dS/m); -1 when absent.
    // ECsm1 is ECsm[Z1], ECsmt is ECsm[Zt], ECsma is ECsm[Za].
    ZoneArray<Series> ECsm;

    // Subsurface drainage
    double Dd = 0;   // drain depth, m
    double QH1 = 0;  // reaction factor below drain level, m/day per m
    double QH2 = 0;  // reaction factor above drain level, m/day per m2

    // Initial and boundary conditions
    double Si = 0;      // salinity of the irrigation water, dS/m
    double Dwtini = 0;  // initial depth of the water table, m
    double CDc = 0;     // critical depth for capillary rise, m
    double SMini = 0;   // initial soil moisture, %
    double IrrEff = 0;  // irrigation efficiency, %
    double Inf = 0;     // groundwater inflow, mm/day
    double Out = 0;     // groundwater outflow, mm/day
    double Sinf = 0;    // salinity of the groundwater inflow, dS/m
};

struct MeasurementCounts {
    ZoneArray<int> NrMeas;        // NrMeas1 is NrMeas[Z1], NrMeast is NrMeas[Zt]
    bool anyOptimisable() const;  // some zone has at least four
};

// Resizes every hydrological series to N + 1, keeping existing elements and
// setting new ones to 0.
void ResizeHydrologicalSeries(ModelInput& in, int n);
// Resizes the five measured series to N + 1; new elements are set to `fill`.
void ResizeMeasuredSeries(ModelInput& in, int n, double fill = 0.0);

// Drops the values of every series beyond time step N, so that a series
// made longer again holds no values of an earlier, longer one.
void DropStepsAfter(ModelInput& in, int n);

// Spreads the irrigation of daily steps over up to four following dry days.
void DistributeIrrigation(ModelInput& in);
double RootZoneThickness(const ModelInput& in);
MeasurementCounts CountMeasurements(const ModelInput& in);

// Whether zone z exists in a root zone of `layers` layers.
bool ZoneInUse(int layers, Zone z);

}  // namespace halovane
