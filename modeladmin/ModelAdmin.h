// Every helper of the model administration actions.
#pragma once

#include "modeladmin/DimensionInfoHelper.h"
#include "modeladmin/ZoActionHelperImportConfig.h"
#include "modeladmin/ZoActionHelperWvfFile.h"
