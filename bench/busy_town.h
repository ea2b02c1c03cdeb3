#pragma once

#include <filesystem>
#include <memory>

#include "main_loop/main_loop.h"
#include "run/module_loader.h"
#include "scenario/scenario.h"
#include "world/world.h"

/// A full ped pool around a wanted player in a town of boxes: 100 cops within 200 m and 39 other peds.
/// With `hostPursuit` off the cops stand where they are, so every tick sees the same town.
sandbox::Scenario BusyTown(bool hostPursuit = true);

/// The stress town of bench/scenarios/ with `cops` cops (its first ones; past its 100, its other
/// peds become cops too), the player in plain view, and the host's pursuit on (`chasing`) or off.
sandbox::Scenario StressTown(int cops, bool chasing);

/// The busy town (or another scenario) as a live world, with the plugin loaded (logging off) when asked.
struct BenchWorld {
    explicit BenchWorld(bool withPlugin, bool hostPursuit = true);
    BenchWorld(sandbox::Scenario s, bool withPlugin);
    sandbox::Scenario scenario;
    sandbox::World world;
    sandbox::MainLoop loop;
    std::filesystem::path dir;
    std::unique_ptr<sandbox::LoadedModule> module;
};
