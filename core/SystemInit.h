// The system initialisation of start-up: GPIO lines, log, locks,
// config.xml and the settings (with the reset offered when they cannot be
// loaded), language, fonts, database, data objects and access tables.
#pragma once

// 1 when the terminal is ready; 0 when config.xml cannot be loaded (the
// message has been shown). The other failures end the process.
int InitTool();

// Fills the data store's table of outside services.
void ConnectDataStoreServices();
