// Every helper of the query service interface documents.
#pragma once

#include <Korvath_ActionHelper/queryservice/QsApiConnectHelper.h>
#include <Korvath_ActionHelper/queryservice/QsDataSourceFaultHelper.h>
#include <Korvath_ActionHelper/queryservice/QsMetadataRequestHelper.h>
#include <Korvath_ActionHelper/queryservice/QsMetadataResponseHelper.h>
#include <Korvath_ActionHelper/queryservice/QsParamValueItemHelper.h>
#include <Korvath_ActionHelper/queryservice/QsParamValueItemHierarchyHelper.h>
#include <Korvath_ActionHelper/queryservice/QsParamValueItemNullHelper.h>
#include <Korvath_ActionHelper/queryservice/QsParamValueItemRangeHelper.h>
#include <Korvath_ActionHelper/queryservice/QsParamValueItemSimpleHelper.h>
#include <Korvath_ActionHelper/queryservice/QsParameterHelper.h>
#include <Korvath_ActionHelper/queryservice/QsPromptFaultHelper.h>
