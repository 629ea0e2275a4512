#pragma once

#include "core/Database.h"

#include <functional>
#include <memory>

// A second copy of the program on the same database file, with a connection of its own. What it
// is given to do runs just before this program's next write transaction begins: the moment when
// another counter issues a book or adds a card between this program's look and its write.
class AnotherProgram
{
public:
    explicit AnotherProgram(const Database &db) : state_(std::make_shared<State>())
    {
        state_->db = Database::open(db.path());
    }

    void beforeNextWrite(std::function<void(Database &)> action)
    {
        state_->acted = false;
        Database::FailureHook hook;
        hook.beforeNextTransaction = [state = state_, action = std::move(action)] {
            action(*state->db);
            state->acted = true;
        };
        Database::setFailureHook(hook);
    }

    // True once the last action given has run.
    bool acted() const { return state_->acted; }

private:
    struct State
    {
        std::shared_ptr<Database> db;
        bool acted = false;
    };
    std::shared_ptr<State> state_;
};
