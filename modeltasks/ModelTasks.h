// Every helper of the model task requests and responses.
#pragma once

#include "modeltasks/ZoActionFeedbackHelper.h"
#include "modeltasks/ZoUpdateObjectRequestHelper.h"
#include "modeltasks/ZoUpdateObjectResponseHelper.h"
