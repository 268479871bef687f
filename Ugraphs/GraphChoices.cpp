#include "GraphChoices.h"

namespace halovane {

const GraphChoiceInfo GraphChoices[GraphChoiceCount] = {
    {GraphChoice::AllHydrology, "hydrology", "GraphHydrRadioButton", "All hydrological flow factors",
     "Hydrological flows of every time step", GraphKind::Hydrology, 1},
    {GraphChoice::SurfaceHydrology, "surface", "SurfHydrRadioButton", "Surface hydrology factors",
     "Surface hydrology: rainfall, irrigation and evaporation", GraphKind::Hydrology, 1},
    {GraphChoice::SubsurfaceHydrology, "subsurface", "SubSurfHydrRadioButton", "Subsurface hydrology factors",
     "Subsurface hydrology: percolation, capillary rise and drainage", GraphKind::Hydrology, 1},
    {GraphChoice::WaterTable, "water-table", "GraphWTRadioButton", "Depth of the water table",
     "Level of the water table relative to the soil surface", GraphKind::WaterTable, 1},
    {GraphChoice::SalinityAll, "salinity", "GraphSaltRadioButton", "Salinity in all soil layers",
     "Soil moisture salinity (ECsm) in all soil layers", GraphKind::Salinity, 1},
    {GraphChoice::SalinityFirst, "salinity-1", "SalFirstRadioButton", "Salinity in first root zone layer",
     "Soil moisture salinity (ECsm) in the first root zone layer", GraphKind::Salinity, 1},
    {GraphChoice::SalinitySecond, "salinity-2", "SalSecondRadioButton", "Salinity second root zone layer",
     "Soil moisture salinity (ECsm) in the second root zone layer", GraphKind::Salinity, 2},
    {GraphChoice::SalinityThird, "salinity-3", "SalThirdRadioButton", "Salinity in third root zone layer",
     "Soil moisture salinity (ECsm) in the third root zone layer", GraphKind::Salinity, 3},
    {GraphChoice::SalinityBelow, "salinity-below", "SalBelowRadioButton", "Salinity below root zone",
     "Soil moisture salinity (ECsm) below the root zone", GraphKind::Salinity, 1},
};

const GraphChoiceInfo& InfoOf(GraphChoice choice) { return GraphChoices[static_cast<int>(choice)]; }

}  // namespace halovane
