// Every helper of the model administration actions.
#pragma once
