// Every helper of the model task requests and responses.
#pragma once
