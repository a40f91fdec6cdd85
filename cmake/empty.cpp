// Placeholder so that a folder without sources yet still forms a library.
