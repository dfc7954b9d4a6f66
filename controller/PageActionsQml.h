#pragma once
// The page actions in the scene: module "W3.Actions 1.0", one singleton per page.
class PageActions;

// The singletons are the actions of the view made last; a scene created later sees that one.
void registerPageActions(PageActions &actions);
