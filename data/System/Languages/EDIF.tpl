object TPersHolder
  P = <
    item
      Name = 'library'
      Description = 'library with its technology'
      Code.Strings = (
        '(library |'
        '  (edifLevel 0)'
        '  (technology (numberDefinition))'
        ')')
    end
    item
      Name = 'cell'
      Description = 'cell with a netlist view'
      Code.Strings = (
        '(cell |'
        '  (cellType GENERIC)'
        '  (view netlist'
        '    (viewType NETLIST)'
        '    (interface'
        '    )'
        '    (contents'
        '    )'
        '  )'
        ')')
    end
    item
      Name = 'view'
      Description = 'netlist view'
      Code.Strings = (
        '(view |'
        '  (viewType NETLIST)'
        '  (interface'
        '  )'
        '  (contents'
        '  )'
        ')')
    end
    item
      Name = 'port'
      Description = 'port with its direction'
      Code.Strings = (
        '(port | (direction INPUT))')
    end
    item
      Name = 'net'
      Description = 'net joining port references'
      Code.Strings = (
        '(net |'
        '  (joined'
        '    (portRef )'
        '  )'
        ')')
    end
    item
      Name = 'portRef'
      Description = 'reference to a port of an instance'
      Code.Strings = (
        '(portRef | (instanceRef ))')
    end
    item
      Name = 'instance'
      Description = 'instance of a cell'#39's view'
      Code.Strings = (
        '(instance |'
        '  (viewRef netlist (cellRef  (libraryRef )))'
        ')')
    end
    item
      Name = 'property'
      Description = 'property with a string value'
      Code.Strings = (
        '(property | (string ""))')
    end>
end
