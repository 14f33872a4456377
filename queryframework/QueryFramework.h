// Every helper of the query framework commands.
#pragma once

#include "queryframework/QFCloseConnectionsCommandHelper.h"
#include "queryframework/QFCommandHelper.h"
#include "queryframework/QFExecuteCommandHelper.h"
#include "queryframework/QFQueryHelper.h"
#include "queryframework/QFResponseDomHelper.h"
#include "queryframework/QFUpdateCommandHelper.h"
#include "queryframework/QFValidateCommandHelper.h"
#include "queryframework/QFZoCommandHelper.h"
#include "queryframework/XelCancelQueryHelper.h"
#include "queryframework/XelExpandParameterHelper.h"
#include "queryframework/XelGetJoinPathsHelper.h"
#include "queryframework/XelGetParametersHelper.h"
#include "queryframework/XelQuerySubjectHelper.h"
#include "queryframework/XelRefineObjectsHelper.h"
#include "queryframework/XelTestConnectionHelper.h"
