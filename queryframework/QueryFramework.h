// Every helper of the query framework commands.
#pragma once

#include <Korvath_ActionHelper/queryframework/QFCloseConnectionsCommandHelper.h>
#include <Korvath_ActionHelper/queryframework/QFCommandHelper.h>
#include <Korvath_ActionHelper/queryframework/QFExecuteCommandHelper.h>
#include <Korvath_ActionHelper/queryframework/QFQueryHelper.h>
#include <Korvath_ActionHelper/queryframework/QFResponseDomHelper.h>
#include <Korvath_ActionHelper/queryframework/QFResponseStreamReader.h>
#include <Korvath_ActionHelper/queryframework/QFUpdateCommandHelper.h>
#include <Korvath_ActionHelper/queryframework/QFValidateCommandHelper.h>
#include <Korvath_ActionHelper/queryframework/QFZoCommandHelper.h>
#include <Korvath_ActionHelper/queryframework/XelCancelQueryHelper.h>
#include <Korvath_ActionHelper/queryframework/XelExpandParameterHelper.h>
#include <Korvath_ActionHelper/queryframework/XelGetJoinPathsHelper.h>
#include <Korvath_ActionHelper/queryframework/XelGetParametersHelper.h>
#include <Korvath_ActionHelper/queryframework/XelQuerySubjectHelper.h>
#include <Korvath_ActionHelper/queryframework/XelRefineObjectsHelper.h>
#include <Korvath_ActionHelper/queryframework/XelTestConnectionHelper.h>
