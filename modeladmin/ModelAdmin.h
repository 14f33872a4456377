// Every helper of the model administration actions.
#pragma once

#include <Korvath_ActionHelper/modeladmin/DimensionInfoHelper.h>
#include <Korvath_ActionHelper/modeladmin/ZoActionHelperDBConnection.h>
#include <Korvath_ActionHelper/modeladmin/ZoActionHelperDBConnections.h>
#include <Korvath_ActionHelper/modeladmin/ZoActionHelperImportConfig.h>
#include <Korvath_ActionHelper/modeladmin/ZoActionHelperObjectAccess.h>
#include <Korvath_ActionHelper/modeladmin/ZoActionHelperRetargetObjectReferences.h>
#include <Korvath_ActionHelper/modeladmin/ZoActionHelperSecurityObject.h>
#include <Korvath_ActionHelper/modeladmin/ZoActionHelperSecurityObjectSpec.h>
#include <Korvath_ActionHelper/modeladmin/ZoActionHelperWvfFile.h>
