#pragma once

// Installs the document's entries of the scene services (core/scene/scene_services.h): the
// writer of its record and the registration of links being written. Part of the player
// library's class list.
void InstallDocumentServices();
