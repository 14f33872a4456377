// Every helper of the model task requests and responses.
#pragma once
#include "modeltasks/ZoExternalizeReportHelper.h"
#include "modeltasks/ZoMaterializeRequestHelper.h"
#include "modeltasks/ZoMaterializeResponseHelper.h"
#include "modeltasks/ZoModelAnalysisRequestHelper.h"
#include "modeltasks/ZoModelAnalysisResponseHelper.h"
#include "modeltasks/ZoPackagesReportHelper.h"

#include "modeltasks/ZoActionFeedbackHelper.h"
#include "modeltasks/ZoUpdateObjectRequestHelper.h"
#include "modeltasks/ZoUpdateObjectResponseHelper.h"
