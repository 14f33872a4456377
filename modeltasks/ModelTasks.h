// Every helper of the model task requests and responses.
#pragma once
#include <Korvath_ActionHelper/modeltasks/ZoExternalizeReportHelper.h>
#include <Korvath_ActionHelper/modeltasks/ZoMaterializeRequestHelper.h>
#include <Korvath_ActionHelper/modeltasks/ZoMaterializeResponseHelper.h>
#include <Korvath_ActionHelper/modeltasks/ZoModelAnalysisRequestHelper.h>
#include <Korvath_ActionHelper/modeltasks/ZoModelAnalysisResponseHelper.h>
#include <Korvath_ActionHelper/modeltasks/ZoPackagesReportHelper.h>

#include <Korvath_ActionHelper/modeltasks/ZoActionFeedbackHelper.h>
#include <Korvath_ActionHelper/modeltasks/ZoUpdateObjectRequestHelper.h>
#include <Korvath_ActionHelper/modeltasks/ZoUpdateObjectResponseHelper.h>
