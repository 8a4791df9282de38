int fixtureExport(void) { return 9; }
