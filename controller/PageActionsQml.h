#pragma once
class PageActions;

// The page actions as singletons of the scene's module W3.Actions.
void registerPageActions(PageActions &actions);
