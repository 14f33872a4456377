// Every helper of the query framework commands.
#pragma once
