// The complete input data set of one simulation and the operations that
// belong with it.
#pragma once

#include <string>
#include <vector>

namespace halovane {

// A series holds N + 1 values; element i belongs to time step i and
// element 0 is never read from or written to the input data file.
using Series = std::vector<double>;

// The soil zones, always listed from the surface down.
enum class Zone { Layer1 = 0, Layer2, Layer3, Transition, Aquifer };
constexpr int ZoneCount = 5;

// Step lengths in days, in the order of the "Year", "Month", "Week", "Day"
// choice list.
constexpr int StepLengths[4] = {360, 30, 7, 1};

// The largest number of time steps a data set may have. A century of daily
// steps needs 36 525; the bound leaves room for ten centuries. The window,
// the file readers and the runner all refuse a larger count.
constexpr int MaxTimeSteps = 400000;

// Index of Ts in StepLengths, or -1 when Ts is none of them.
int StepLengthIndex(int ts);

struct ModelInput {
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
    Series IrrDist;  // Irrig spread over following dry days (daily steps)

    // Soil table: thickness (m), total and effective porosity (%),
    // leaching efficiency (%), initial salinity (dS/m)
    double D1 = 0, D2 = 0, D3 = 0, Dt = 0, Da = 0;
    double TP1 = 0, TP2 = 0, TP3 = 0, TPt = 0, TPa = 0;
    double EP1 = 0, EP2 = 0, EP3 = 0, EPt = 0, EPa = 0;
    double LE1 = 0, LE2 = 0, LE3 = 0, LEt = 0, LEa = 0;
    double S1ini = 0, S2ini = 0, S3ini = 0, STini = 0, SAini = 0;

    // Measured soil-moisture salinity per zone (dS/m); -1 when absent.
    Series ECsm1, ECsm2, ECsm3, ECsmt, ECsma;

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
    int NrMeas1 = 0, NrMeas2 = 0, NrMeas3 = 0, NrMeast = 0, NrMeasa = 0;
    int of(Zone z) const;
    bool anyOptimisable() const;  // some zone has at least four
};

// Resizes every hydrological series to N + 1, keeping existing elements and
// setting new ones to 0.
void ResizeHydrologicalSeries(ModelInput& in, int n);
// Resizes the five measured series to N + 1; new elements are set to `fill`.
void ResizeMeasuredSeries(ModelInput& in, int n, double fill = 0.0);

// Spreads the irrigation of daily steps over up to four following dry days.
void DistributeIrrigation(ModelInput& in);
double RootZoneThickness(const ModelInput& in);
MeasurementCounts CountMeasurements(const ModelInput& in);

// Per-zone access to the soil table and the measured series.
double& Thickness(ModelInput& in, Zone z);
double& TotalPorosity(ModelInput& in, Zone z);
double& EffectivePorosity(ModelInput& in, Zone z);
double& LeachingEfficiency(ModelInput& in, Zone z);
double& InitialSalinity(ModelInput& in, Zone z);
Series& Measured(ModelInput& in, Zone z);
const Series& Measured(const ModelInput& in, Zone z);
double LeachingEfficiency(const ModelInput& in, Zone z);

// Whether zone z exists in a root zone of `layers` layers.
bool ZoneInUse(int layers, Zone z);

}  // namespace halovane
