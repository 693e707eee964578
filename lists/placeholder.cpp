// removed once the folder has real sources
