// Every helper of the model administration actions.
#pragma once

#include "modeladmin/DimensionInfoHelper.h"
#include "modeladmin/ZoActionHelperDBConnection.h"
#include "modeladmin/ZoActionHelperDBConnections.h"
#include "modeladmin/ZoActionHelperImportConfig.h"
#include "modeladmin/ZoActionHelperObjectAccess.h"
#include "modeladmin/ZoActionHelperRetargetObjectReferences.h"
#include "modeladmin/ZoActionHelperSecurityObject.h"
#include "modeladmin/ZoActionHelperSecurityObjectSpec.h"
#include "modeladmin/ZoActionHelperWvfFile.h"
