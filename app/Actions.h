#pragma once
// The window's two actions, each run synchronously inside the click's dispatch.

class MainWindow;

void onConfigureClicked(MainWindow& window);
void onBrowseClicked(MainWindow& window);
