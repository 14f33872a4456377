// Every helper of the query framework commands.
#pragma once

#include "queryframework/QFCloseConnectionsCommandHelper.h"
#include "queryframework/QFCommandHelper.h"
#include "queryframework/QFExecuteCommandHelper.h"
#include "queryframework/QFQueryHelper.h"
#include "queryframework/QFZoCommandHelper.h"
#include "queryframework/XelCancelQueryHelper.h"
